#include "window_replica.h"
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

namespace {

std::string ClassNameOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Tabs and line ends would break the file's fields.
std::string OneLine(const char* text)
{
    std::string s = text ? text : "";
    for (char& c : s)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return s;
}

bool IsTooltip(const std::string& className)
{
    return !lstrcmpiA(className.c_str(), TOOLTIPS_CLASSA);
}

// A class is the program's own when the program's module registered it for itself (the
// common controls' classes are global and may report any module).
bool ProgramClass(HWND window)
{
    return reinterpret_cast<HMODULE>(GetClassLongPtrA(window, GCLP_HMODULE)) == GetModuleHandleA(nullptr) &&
           !(GetClassLongA(window, GCL_STYLE) & CS_GLOBALCLASS);
}

// The input method window the system makes for every thread that has windows.
bool SystemMadeWindow(HWND window)
{
    return ClassNameOf(window) == "IME";
}

struct Describer {
    ReplicaTree tree;
    std::map<HWND, int> index;

    int Add(HWND window, int parent)
    {
        ReplicaWindow w;
        w.className = ClassNameOf(window);
        w.systemClass = !ProgramClass(window);
        w.classStyle = static_cast<UINT>(GetClassLongA(window, GCL_STYLE));
        w.windowExtra = static_cast<int>(GetClassLongA(window, GCL_CBWNDEXTRA));
        w.style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        w.exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
        GetWindowRect(window, &w.place);
        HWND parentWindow = parent >= 0 ? GetParent(window) : nullptr;
        if (parentWindow)
            MapWindowPoints(nullptr, parentWindow, reinterpret_cast<POINT*>(&w.place), 2);
        w.parent = parent;
        if (w.style & WS_CHILD)
            w.childId = GetWindowLongPtrA(window, GWLP_ID);
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        w.text = OneLine(text);
        index[window] = static_cast<int>(tree.size());
        tree.push_back(w);
        return static_cast<int>(tree.size()) - 1;
    }

    // The window and its children, each child after its parent. A new child is linked
    // below its siblings, so the z-order is the order they were made in (but for those
    // the program brought to the top).
    void AddTree(HWND window, int parent)
    {
        int at = Add(window, parent);
        if (tree[at].systemClass)
            return;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            AddTree(child, at);
    }

    void AddTools(HWND tooltip, ReplicaWindow* record)
    {
        int count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = "";
            TOOLINFOA info = {};
            info.cbSize = sizeof info;
            info.lpszText = text;
            if (!SendMessageA(tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info)))
                continue;
            ReplicaTool tool;
            tool.flags = info.uFlags;
            tool.window = index.count(info.hwnd) ? index[info.hwnd] : -1;
            if (info.uFlags & TTF_IDISHWND) {
                HWND own = reinterpret_cast<HWND>(info.uId);
                tool.toolWindow = index.count(own) ? index[own] : -1;
            } else {
                tool.id = info.uId;
            }
            tool.rect = info.rect;
            if (info.lpszText != LPSTR_TEXTCALLBACKA && info.lpszText == text)
                tool.text = OneLine(text);
            record->tools.push_back(tool);
        }
    }
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string BareClassName(const ReplicaWindow& w)
{
    return w.systemClass ? w.className : "Bare" + w.className;
}

void RegisterBareClass(const ReplicaWindow& w)
{
    static std::set<std::string> registered;
    std::string name = BareClassName(w);
    if (w.systemClass || registered.count(name))
        return;
    WNDCLASSA wc = {};
    wc.style = w.classStyle;
    wc.lpfnWndProc = BareWindowProc;
    wc.cbWndExtra = w.windowExtra;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);
    registered.insert(name);
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

long long Number(const std::string& field)
{
    return std::strtoll(field.c_str(), nullptr, 0);
}

} // namespace

std::vector<HWND> ThreadTopLevelWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

ReplicaTree DescribeWindows(HWND root, const std::vector<HWND>& before)
{
    Describer d;
    d.AddTree(root, -1);
    for (HWND window : ThreadTopLevelWindows()) {
        if (window == root || std::find(before.begin(), before.end(), window) != before.end() ||
            SystemMadeWindow(window))
            continue;
        HWND owner = GetWindow(window, GW_OWNER);
        int at = d.Add(window, -1);
        d.tree[at].owner = d.index.count(owner) ? d.index[owner] : -1;
    }
    for (auto& entry : d.index)
        if (IsTooltip(d.tree[entry.second].className))
            d.AddTools(entry.first, &d.tree[entry.second]);
    return d.tree;
}

bool WriteReplicaTree(const ReplicaTree& tree, const char* path)
{
    FILE* file = std::fopen(path, "w");
    if (!file)
        return false;
    for (const ReplicaWindow& w : tree) {
        std::fprintf(file, "W\t%d\t%d\t%d\t0x%x\t%d\t0x%lx\t0x%lx\t%ld\t%ld\t%ld\t%ld\t%lld\t%s\t%s\n", w.parent,
                     w.owner, w.systemClass ? 1 : 0, w.classStyle, w.windowExtra,
                     static_cast<unsigned long>(w.style), static_cast<unsigned long>(w.exStyle), w.place.left,
                     w.place.top, w.place.right, w.place.bottom, static_cast<long long>(w.childId),
                     w.className.c_str(), w.text.c_str());
        for (const ReplicaTool& t : w.tools)
            std::fprintf(file, "T\t%d\t%d\t0x%x\t%llu\t%ld\t%ld\t%ld\t%ld\t%s\n", t.window, t.toolWindow, t.flags,
                         static_cast<unsigned long long>(t.id), t.rect.left, t.rect.top, t.rect.right,
                         t.rect.bottom, t.text.c_str());
    }
    return std::fclose(file) == 0;
}

bool ReadReplicaTree(ReplicaTree* tree, const char* path)
{
    FILE* file = std::fopen(path, "r");
    if (!file)
        return false;
    tree->clear();
    bool whole = true;
    char buffer[2048];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        std::vector<std::string> f = Fields(line);
        if (f[0] == "W" && f.size() == 15) {
            ReplicaWindow w;
            w.parent = static_cast<int>(Number(f[1]));
            w.owner = static_cast<int>(Number(f[2]));
            w.systemClass = Number(f[3]) != 0;
            w.classStyle = static_cast<UINT>(Number(f[4]));
            w.windowExtra = static_cast<int>(Number(f[5]));
            w.style = static_cast<DWORD>(Number(f[6]));
            w.exStyle = static_cast<DWORD>(Number(f[7]));
            w.place = {static_cast<LONG>(Number(f[8])), static_cast<LONG>(Number(f[9])),
                       static_cast<LONG>(Number(f[10])), static_cast<LONG>(Number(f[11]))};
            w.childId = static_cast<INT_PTR>(Number(f[12]));
            w.className = f[13];
            w.text = f[14];
            whole = whole && w.parent < static_cast<int>(tree->size()) && w.owner < static_cast<int>(tree->size());
            tree->push_back(w);
        } else if (f[0] == "T" && f.size() == 10 && !tree->empty()) {
            ReplicaTool t;
            t.window = static_cast<int>(Number(f[1]));
            t.toolWindow = static_cast<int>(Number(f[2]));
            t.flags = static_cast<UINT>(Number(f[3]));
            t.id = static_cast<UINT_PTR>(std::strtoull(f[4].c_str(), nullptr, 10));
            t.rect = {static_cast<LONG>(Number(f[5])), static_cast<LONG>(Number(f[6])),
                      static_cast<LONG>(Number(f[7])), static_cast<LONG>(Number(f[8]))};
            t.text = f[9];
            tree->back().tools.push_back(t);
        } else {
            whole = false;
        }
    }
    std::fclose(file);
    return whole && !tree->empty();
}

std::vector<HWND> CreateReplica(const ReplicaTree& tree)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    std::vector<HWND> windows(tree.size(), nullptr);
    for (size_t i = 0; i < tree.size(); ++i) {
        const ReplicaWindow& w = tree[i];
        RegisterBareClass(w);
        HWND parent = nullptr;
        if (w.parent >= 0)
            parent = windows[w.parent];
        else if (w.owner >= 0)
            parent = windows[w.owner];
        if (w.parent >= 0 && !parent)
            continue;
        CLIENTCREATESTRUCT client = {nullptr, 0xFF00};
        void* extra = !lstrcmpiA(w.className.c_str(), "MDIClient") ? &client : nullptr;
        windows[i] = CreateWindowExA(w.exStyle, BareClassName(w).c_str(), w.text.empty() ? nullptr : w.text.c_str(),
                                     w.style, w.place.left, w.place.top, w.place.right - w.place.left,
                                     w.place.bottom - w.place.top, parent,
                                     reinterpret_cast<HMENU>(w.childId), instance, extra);
    }
    for (size_t i = 0; i < tree.size(); ++i) {
        if (!windows[i])
            continue;
        for (const ReplicaTool& t : tree[i].tools) {
            TOOLINFOA info = {};
            info.cbSize = sizeof info;
            info.uFlags = t.flags;
            info.hwnd = t.window >= 0 ? windows[t.window] : nullptr;
            info.uId = (t.flags & TTF_IDISHWND) ? reinterpret_cast<UINT_PTR>(t.toolWindow >= 0 ? windows[t.toolWindow] : nullptr)
                                                : t.id;
            info.rect = t.rect;
            info.hinst = instance;
            info.lpszText = t.text.empty() ? LPSTR_TEXTCALLBACKA : const_cast<char*>(t.text.c_str());
            SendMessageA(windows[i], TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    return windows;
}

void DestroyReplica(const ReplicaTree& tree, const std::vector<HWND>& windows)
{
    for (size_t i = 0; i < tree.size() && i < windows.size(); ++i)
        if (tree[i].parent < 0 && tree[i].owner < 0 && windows[i])
            DestroyWindow(windows[i]);
    for (size_t i = 0; i < tree.size() && i < windows.size(); ++i)
        if (tree[i].parent < 0 && windows[i] && IsWindow(windows[i]))
            DestroyWindow(windows[i]);
}

int ReplicaToolCount(const ReplicaTree& tree)
{
    int count = 0;
    for (const ReplicaWindow& w : tree)
        count += static_cast<int>(w.tools.size());
    return count;
}
