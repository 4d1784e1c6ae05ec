// Appends land at the end of their own list whatever became of its remembered end: the
// last node freed, the last two moved to another list by hand (as splitting a wall group
// moves its tail), the head cut out, the list emptied. Every kind of list, with two lists
// appended in turn and with twelve (their ends then kept in the tables).
#include "support_model.h"
#include <functional>
#include <type_traits>

using namespace mtest;

namespace {

enum class Change { FreeLast, MoveLastTwo, CutHead, Clear };

template <class Node>
void Cut(Node** first, Node* node)
{
    (node->previous ? node->previous->next : *first) = node->next;
    if (node->next)
        node->next->previous = node->previous;
    node->previous = node->next = nullptr;
}

template <class Node>
struct ListKind {
    const char* name;
    std::function<Node**(int)> head;
    std::function<void(int, Node*)> append;
    std::function<Node*()> make;
    std::function<void(Node*)> release;  // objects unlink themselves, vertices are cut first
};

template <class Node>
void Exercise(const ListKind<Node>& kind, int lists, Change change)
{
    SCOPED_TRACE(std::string(kind.name) + ", lists " + std::to_string(lists) + ", change " +
                 std::to_string(static_cast<int>(change)));
    std::vector<std::vector<Node*>> expected(lists);
    for (int round = 0; round < 10; ++round)
        for (int i = 0; i < lists; ++i) {
            expected[i].push_back(kind.make());
            kind.append(i, expected[i].back());
        }
    std::vector<Node*>& a = expected[0];
    Node** head = kind.head(0);
    if (change == Change::FreeLast) {
        if (std::is_same<Node, PlanVertex>::value)
            Cut(head, a.back());
        kind.release(a.back());
        a.pop_back();
    } else if (change == Change::MoveLastTwo) {
        for (Node* moved : {a[8], a[9]}) {
            Cut(head, moved);
            kind.append(1, moved);
            expected[1].push_back(moved);
        }
        a.resize(8);
    } else {
        size_t cut = change == Change::CutHead ? 1 : a.size();
        for (size_t n = 0; n < cut; ++n) {
            Cut(head, a[n]);
            kind.release(a[n]);
        }
        a.erase(a.begin(), a.begin() + cut);
    }
    a.push_back(kind.make());
    kind.append(0, a.back());
    for (int i = 0; i < lists; ++i) {
        std::vector<Node*> walked;
        for (Node* n = *kind.head(i); n; n = n->next) {
            EXPECT_EQ(n->previous, walked.empty() ? nullptr : walked.back());
            walked.push_back(n);
        }
        EXPECT_EQ(walked, expected[i]) << "list " << i;
        for (Node** first = kind.head(i); *first;) {
            Node* node = *first;
            Cut(first, node);
            kind.release(node);
        }
    }
}

} // namespace

TEST_F(DocumentTest, AppendsLandAtTheEndOfTheirListAfterEveryChange)
{
    for (int lists : {2, 12}) {
        std::vector<PlanFloor*> floors;
        std::vector<PlanObject*> hosts;
        std::vector<PlanObject*> ownHeads(lists, nullptr);  // heads kept by a caller
        for (int i = 0; i < lists; ++i) {
            floors.push_back(CreateFloor("Sheet", 1, 1, nullptr));
            AppendFloorToDocument(floors.back());
            hosts.push_back(MakeObject(ObjGroup, Storey(0), {}));
        }
        auto line = [] { return CreateObject(ObjLine, 0, 0, nullptr, nullptr, 1, 6, 2, nullptr,
                                             nullptr, nullptr, nullptr, nullptr, nullptr); };
        const ListKind<PlanObject> objectLists[] = {
            {"floor", [&](int i) { return &floors[i]->firstObject; },
             [&](int i, PlanObject* o) { AttachObjectToFloor(o, floors[i]); }, line, FreeObject},
            {"children", [&](int i) { return &hosts[i]->firstChild; },
             [&](int i, PlanObject* o) { o->owner = hosts[i]; AppendToObjectList(&hosts[i]->firstChild, o); },
             line, FreeObject},
            {"parts", [&](int i) { return &hosts[i]->firstPart; },
             [&](int i, PlanObject* o) { AppendToObjectList(&hosts[i]->firstPart, o); }, line, FreeObject},
            {"caller's", [&](int i) { return &ownHeads[i]; },
             [&](int i, PlanObject* o) { AppendToObjectList(&ownHeads[i], o); }, line, FreeObject},
        };
        const ListKind<PlanVertex> vertices = {
            "vertices", [&](int i) { return &hosts[i]->firstVertex; },
            [&](int i, PlanVertex* v) { AddObjectPoint(v, hosts[i]); },
            [] { return NewVertexNode(1, 0, 0, 0, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0, 0, nullptr); },
            [](PlanVertex* v) { ReleaseRecord(v); }};
        for (Change change : {Change::FreeLast, Change::MoveLastTwo, Change::CutHead, Change::Clear}) {
            for (const ListKind<PlanObject>& kind : objectLists)
                Exercise(kind, lists, change);
            Exercise(vertices, lists, change);
        }
    }
}
