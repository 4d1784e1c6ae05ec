#include "support_commands.h"
#include "shell/file_dialogs.h"
#include "shell/frame_window.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "support/test_support.h"
#include <cstdio>
#include <cstring>

namespace shelltest {

FileDialogAnswers::FileDialogAnswers() { SetFileDialogHook(&FileDialogAnswers::Hook, this); }
FileDialogAnswers::~FileDialogAnswers() { SetFileDialogHook(nullptr, nullptr); }

static std::string FilterText(const char* filter)
{
    std::string text;
    while (filter && *filter) {
        if (!text.empty())
            text += '|';
        text += filter;
        filter += std::strlen(filter) + 1;
    }
    return text;
}

BOOL FileDialogAnswers::Hook(OPENFILENAMEA* record, bool save, void* context)
{
    auto* self = static_cast<FileDialogAnswers*>(context);
    Call call;
    call.save = save;
    call.title = record->lpstrTitle ? record->lpstrTitle : "";
    call.initialName = record->lpstrFile ? record->lpstrFile : "";
    call.filter = FilterText(record->lpstrFilter);
    call.extension = record->lpstrDefExt ? record->lpstrDefExt : "";
    call.flags = record->Flags;
    call.maxFile = record->nMaxFile;
    call.owner = record->hwndOwner;
    self->calls.push_back(call);
    if (self->answers.empty() || self->answers.front() == std::string(1, '\0')) {
        if (!self->answers.empty())
            self->answers.pop_front();
        return FALSE;
    }
    std::string path = self->answers.front();
    self->answers.pop_front();
    std::snprintf(record->lpstrFile, record->nMaxFile, "%s", path.c_str());
    size_t slash = path.find_last_of("\\/");
    std::snprintf(record->lpstrFileTitle, record->nMaxFileTitle, "%s",
                  path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
    return TRUE;
}

LRESULT SendCommand(HWND frame, int command, LPARAM lParam)
{
    return SendMessageA(frame, WM_COMMAND, static_cast<WPARAM>(command), lParam);
}

std::vector<HWND> DocumentWindows()
{
    std::vector<HWND> windows;
    if (!mdiClientWindow)
        return windows;
    for (HWND child = GetWindow(mdiClientWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (!GetWindow(child, GW_OWNER))
            windows.push_back(child);
    return windows;
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

PlanObject* AddLine(PlanFloor* floor, std::initializer_list<PlanPoint> points, bool selected)
{
    PlanObject* object = CreateObject(ObjLine, 0, 0, nullptr, nullptr, 1.0f, 6, 2, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr);
    if (!object)
        return nullptr;
    // On the active layer, as the drawing tools place their objects.
    if (activeDocument && activeDocument->settings)
        object->category = activeDocument->settings->activeCategory;
    for (const PlanPoint& p : points) {
        PlanVertex* vertex = NewVertexNode(1, selected ? 1 : 0, 0, 0, 0, 0, p.x, 0.0f, p.z, 0, 0, 0, 0, 0, 0,
                                           object);
        if (vertex)
            AddObjectPoint(vertex, object);
    }
    if (floor)
        AttachObjectToFloor(object, floor);
    UpdateObjectExtents(object);
    return object;
}

int CountObjects(const PlanDocument* document)
{
    int count = 0;
    if (!document)
        return 0;
    for (const PlanFloor* floor = document->firstFloor; floor; floor = floor->next)
        for (const PlanObject* object = floor->firstObject; object; object = object->next)
            ++count;
    return count;
}

PlanFloor* Storey(const char* name)
{
    return FindFloorByName(name);
}

std::string LocalPath(const std::string& name)
{
    return vtest::CurrentDirectory() + "\\" + name;
}

} // namespace shelltest
