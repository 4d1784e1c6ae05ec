#include "tools/text_editing.h"
#include "model/object_copies.h"
#include "files/copy_buffer.h"
#include "files/record_stream.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_background.h"
#include "planview/selection.h"
#include "shell/app_globals.h"
#include "planview/plan_redraw.h"
#include "planview/run_fonts.h"
#include "planview/selection_marks_paint.h"
#include "shell/message_box.h"
#include "tools/cad_builders.h"
#include "tools/drawing_elements.h"
#include "tools/kept_text_lines.h"
#include "tools/marquee.h"
#include "tools/point_mapping.h"
#include "tools/text_layout_font.h"
#include "tools/fresh_text_layout.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include <algorithm>
#include <cstring>
#include <vector>

uint16_t textEditControlId = 1;
bool textLayoutsKept = true;
int16_t textAlignment = AlignTextLeft;

namespace {

// The alignment bits of an edit control's style (ES_LEFT is 0).
const LONG kAlignmentStyles = ES_CENTER | ES_RIGHT;
// The frame is this much larger than the control's area on every side.
const int kFrameMargin = 3;
// How far beyond a frame its repaint reaches.
const int kRepaintMargin = 5;
// The room a refit leaves below a text's last line.
const LONG kLastLineRoom = 5;

LONG RoundHalfUp(float value)
{
    return static_cast<LONG>(value + 0.5f);
}

// A length rounded alike whichever way it runs.
LONG RoundLength(float length)
{
    return length < 0.0f ? -RoundHalfUp(-length) : RoundHalfUp(length);
}

// A box in whole units: its first corner rounded, its size rounded apart, so that the box
// keeps its whole width and height wherever it lies (rounding both edges would lose a unit
// where they fall apart across a half).
RECT WholeRect(float left, float top, float right, float bottom)
{
    const LONG x = RoundHalfUp(left);
    const LONG y = RoundHalfUp(top);
    RECT rect = {x, y, x + RoundLength(right - left), y + RoundLength(bottom - top)};
    return rect;
}

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

HWND FrameControl(const PlanObject* frame)
{
    if (!frame || frame->type != ObjTextFrame || !frame->link)
        return nullptr;
    HWND control = static_cast<HWND>(frame->link);
    return IsWindow(control) ? control : nullptr;
}

LONG AlignmentStyle(int code)
{
    if (code == AlignTextRight)
        return ES_RIGHT;
    if (code == AlignTextCentre)
        return ES_CENTER;
    return ES_LEFT;
}

// The frame's 3D box seen in the view plane, in whole units: plane 1 height and x,
// plane 3 height and z, otherwise (the plan) x and z. The frame at the plan's own scale.
RECT FrameRectFromBox3D(const PlanObject* frame, uint16_t viewPlane)
{
    const float* box = frame->box3D;
    float left, top, right, bottom;
    switch (viewPlane) {
    case 1:
        left = box[kBoxMinX]; right = box[kBoxMaxX]; top = box[kBoxMinY]; bottom = box[kBoxMaxY];
        break;
    case 3:
        left = box[kBoxMinZ]; right = box[kBoxMaxZ]; top = box[kBoxMinY]; bottom = box[kBoxMaxY];
        break;
    default:
        left = box[kBoxMinX]; right = box[kBoxMaxX]; top = box[kBoxMinZ]; bottom = box[kBoxMaxZ];
        break;
    }
    return WholeRect(left, top, right, bottom);
}

// The frame's stored 2D box in whole pixels, grown by `grow` on every side (negative
// shrinks).
RECT FrameRectFromBox2D(const PlanObject* frame, int grow)
{
    const float* box = frame->box2D;
    RECT rect = WholeRect(box[kRectMinX], box[kRectMinY], box[kRectMaxX], box[kRectMaxY]);
    InflateRect(&rect, grow, grow);
    return rect;
}

// Whether the model axis grows the way the pane's axis (0 across, 1 down) does in the view.
bool RunsWithPane(int axis, int paneAxis)
{
    float from[3] = {0.0f, 0.0f, 0.0f};
    float to[3] = {0.0f, 0.0f, 0.0f};
    to[axis] = 1.0f;
    for (float* p : {from, to})
        TransformPointToView(&p[0], &p[1], &p[2], viewPitchCos, viewPitchSin, viewYawCos, viewYawSin, viewOrigin.x,
                             viewOrigin.y, viewOrigin.z, 0);
    return to[paneAxis] >= from[paneAxis];
}

// The font a control was given, as it was given (a plan's stored bytes), kept beside the
// drawable font the control holds; released with the control.
const char kStoredFontProperty[] = "VelmoraStoredFont";

void ReleaseStoredFont(HWND control)
{
    delete static_cast<LOGFONTA*>(RemovePropA(control, kStoredFontProperty));
}

void KeepStoredFont(HWND control, const LOGFONTA& font)
{
    LOGFONTA* kept = static_cast<LOGFONTA*>(GetPropA(control, kStoredFontProperty));
    if (kept) {
        *kept = font;
        return;
    }
    kept = new LOGFONTA(font);
    if (!SetPropA(control, kStoredFontProperty, kept))
        delete kept;
}

} // namespace

// The font a control lays its text out in before it is given one: the system font's look
// in its face's layout copy (text_layout_font.h). It is no font of the text's. Made once
// for the run and shared by every control that has no font of its own yet, so no control
// ever deletes it.
HFONT DefaultTextLayoutFont()
{
    static const HFONT font = [] {
        LOGFONTA system;
        if (GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system) <= 0)
            return HFONT(nullptr);
        const LOGFONTA layout = TextLayoutLogFont(system);
        if (std::strcmp(layout.lfFaceName, system.lfFaceName) == 0)
            return HFONT(nullptr);
        return CreateFontIndirectA(&layout);
    }();
    return font;
}

namespace {

// The control's font as a LOGFONT; a control without a font of its own is stored and
// drawn with the dimension font, as the plan file does.
void GetControlLogFont(HWND control, LOGFONTA* font)
{
    if (!GetTextEditLogFont(control, font))
        *font = dimensionLogFont;
}

// The look at that height (0 becomes -1), drawable.
LOGFONTA LookOfHeight(const LOGFONTA& base, LONG height)
{
    LOGFONTA font = base;
    font.lfHeight = height == 0 ? -1 : height;
    return MakeDrawableFont(font);
}

// That look as the run's font while a run is open (ReleaseRunFont gives it back).
HFONT AcquireFontOfHeight(const LOGFONTA& base, LONG height)
{
    return AcquireRunFont(LookOfHeight(base, height));
}

bool IsStockFont(HFONT font)
{
    static const int kStockFonts[] = {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT,
                                      DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT};
    for (int stock : kStockFonts)
        if (font == static_cast<HFONT>(GetStockObject(stock)))
            return true;
    return false;
}

// Deletes a font a control owned, once no control holds it any more.
void DeleteOwnedFont(HFONT font)
{
    if (font && font != DefaultTextLayoutFont() && !IsStockFont(font))
        DeleteObject(font);
}

HFONT ControlFontHandle(HWND control)
{
    return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
}

// The frame's repaint area (2D box grown by 5) in device units of the pane.
RECT FrameScreenRect(const PlanObject* frame, HWND pane)
{
    RECT rect = FrameRectFromBox2D(frame, kRepaintMargin);
    if (HDC dc = pane ? GetDC(pane) : nullptr) {
        LPtoDP(dc, reinterpret_cast<POINT*>(&rect), 2);
        ReleaseDC(pane, dc);
    }
    return rect;
}

PlanObject* FindTextLabelInList(PlanObject* first, HWND control, uint8_t selectedOnly)
{
    for (PlanObject* object = first; object; object = object->next) {
        if (object->type == ObjTextFrame && static_cast<HWND>(object->link) == control &&
            (!selectedOnly || IsAnyPointSelected(object)))
            return object;
        // Texts may be members of groups.
        if (PlanObject* inner = FindTextLabelInList(object->firstChild, control, selectedOnly))
            return inner;
    }
    return nullptr;
}

// The edit control's own procedure, which every text control hands its messages on to:
// the same for every control of the class, so it is kept once rather than looked up
// for each message (a round trip to the window server).
WNDPROC editControlProc = nullptr;

// Sizes of a new text frame (pane units): a drag smaller than the least size in either
// direction counts as a click.
const LONG kLeastDraggedSize = 20;
const LONG kDefaultFrameWidth = 200;
const LONG kNewFrameHeight = 36;
const DWORD kTextControlStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | ES_MULTILINE | ES_AUTOVSCROLL;

// The rubber rectangle of the text tool's drag, from the press point while a button is
// down; returns the last rectangle (the press point alone when the pointer never moved).
RECT TrackTextFrameDrag(POINT start)
{
    RECT last = {start.x, start.y, start.x, start.y};
    bool drawn = false;
    while (IsMouseButtonDown()) {
        const POINT pointer = GetCursorLogicalPos();
        RECT rect;
        NormaliseRectangle(&rect, static_cast<int16_t>(start.x), static_cast<int16_t>(start.y),
                           static_cast<int16_t>(pointer.x), static_cast<int16_t>(pointer.y));
        if (EqualRect(&rect, &last))
            continue;
        if (drawn)
            DrawPlanRectOutline(&last);
        PostPointerMoveToPane(pointer);
        DrawPlanRectOutline(&rect);
        drawn = true;
        last = rect;
    }
    if (drawn)
        DrawPlanRectOutline(&last);
    return last;
}

// The control's rectangle for a dragged one: the drag when large enough, else the
// default width at the press; always the new height.
RECT NewTextControlRect(POINT start, const RECT& dragged)
{
    RECT rect = dragged;
    const LONG width = dragged.right - dragged.left;
    const LONG height = dragged.bottom - dragged.top;
    if (IsRectSinglePoint(&dragged) || width < kLeastDraggedSize || height < kLeastDraggedSize) {
        rect.left = start.x;
        rect.top = start.y;
        rect.right = rect.left + kDefaultFrameWidth;
    }
    rect.bottom = rect.top + kNewFrameHeight;
    return rect;
}

// The control's rectangle in model coordinates of the view plane's pair, in whole units:
// what the frame builder takes and grows by the frame's margin. The frame is taken from
// the pane as it will be drawn, the control and the zoomed margins around it, its corner
// rounded and its size rounded apart, so that drawn at this zoom it places the control
// as wide as it was made.
RECT ModelRectOfControl(const RECT& rect, uint16_t viewPlane)
{
    const LONG margin = ZoomInt(kFrameMargin);
    float first[3] = {0.0f, 0.0f, 0.0f};
    float second[3] = {0.0f, 0.0f, 0.0f};
    MapPlanPointToModel(rect.left - margin, rect.top - margin, &first[0], &first[1], &first[2], 1, nullptr, 1);
    MapPlanPointToModel(rect.right + margin, rect.bottom + margin, &second[0], &second[1], &second[2], 1, nullptr, 1);
    int across, down;
    GetViewPlaneAxes(viewPlane, &across, &down);
    const RECT frame = WholeRect(first[across], first[down], second[across], second[down]);
    RECT model = {frame.left + kFrameMargin, frame.top + kFrameMargin, frame.right - kFrameMargin,
                  frame.bottom - kFrameMargin};
    return model;
}

// The control's own procedure, with one addition: switching its redraw off or on also
// takes it off or puts it back on the screen (as the default window procedure does),
// so that a suspended control does not cover the text the plan draws in its place.
LRESULT CALLBACK TextControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcA(editControlProc, window, message, wParam, lParam);
    if (message == WM_SETREDRAW) {
        DefWindowProcA(window, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editControlProc));
        ReleaseStoredFont(window);
        ReleaseKeptLayout(window);
    }
    return result;
}

} // namespace

HWND CreateTextEditWindow(DWORD style, int x, int y, int width, int height, HWND parent)
{
    if (!parent || !IsWindow(parent))
        return nullptr;
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    HINSTANCE instance = hInstance ? hInstance : GetModuleHandleA(nullptr);
    HWND control = CreateWindowExA(0, "EDIT", "", style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(textEditControlId)),
                                   instance, nullptr);
    if (!control)
        return nullptr;
    WNDPROC edit = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    if (!editControlProc)
        editControlProc = edit;
    if (edit && edit == editControlProc)
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextControlProc));
    // A text handed to the control before its font is laid out in the system font: in
    // that face's copy when the face needs one.
    if (HFONT font = DefaultTextLayoutFont())
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

bool SetTextEditFont(HWND control, const LOGFONTA& font)
{
    if (!control || !IsWindow(control))
        return false;
    const LOGFONTA layout = TextLayoutLogFont(MakeDrawableFont(font));
    HFONT made = CreateFontIndirectA(&layout);
    if (!made)
        return false;
    HFONT replaced = ControlFontHandle(control);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(made), FALSE);
    if (replaced != made)
        DeleteOwnedFont(replaced);
    KeepStoredFont(control, font);
    return true;
}

bool GetTextEditLogFont(HWND control, LOGFONTA* font)
{
    if (!control || !font || !IsWindow(control))
        return false;
    if (const LOGFONTA* kept = static_cast<const LOGFONTA*>(GetPropA(control, kStoredFontProperty))) {
        *font = *kept;
        return true;
    }
    HFONT handle = ControlFontHandle(control);
    if (!handle || handle == DefaultTextLayoutFont())
        return false;
    return GetObjectA(handle, sizeof *font, font) > 0;
}

bool CopyTextEditFont(HWND source, HWND target)
{
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    if (!GetTextEditLogFont(source, &font))
        return false;
    return SetTextEditFont(target, font);
}

void DestroyTextEditWindow(HWND control)
{
    if (!control || !IsWindow(control))
        return;
    HFONT font = ControlFontHandle(control);
    ReleaseStoredFont(control);
    DestroyWindow(control);
    DeleteOwnedFont(font);
}

HWND CommitTextEdit(HWND control, int alignmentCode, PlanObject* textFrame)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || !textFrame || !control || !IsWindow(control))
        return control;
    DeactivateDocumentChild();

    int length = GetWindowTextLengthA(control);
    if (length < 0)
        length = 0;
    std::vector<char> text(static_cast<size_t>(length) + 2, '\0');
    if (length > 0)
        GetWindowTextA(control, text.data(), length + 1);

    RECT rect = FrameRectFromBox3D(textFrame, settings->viewPlane);
    InflateRect(&rect, -kFrameMargin, -kFrameMargin);

    // The new control keeps the old one's state (enabled, shown) and the rest of its
    // style; only the alignment changes. The font moves over with the text: the new
    // control owns it, so the old one is destroyed without deleting it.
    LONG style = GetWindowLongA(control, GWL_STYLE);
    style = (style & ~kAlignmentStyles) | AlignmentStyle(alignmentCode);
    HFONT font = ControlFontHandle(control);
    LOGFONTA storedFont;
    const bool hasStoredFont = GetPropA(control, kStoredFontProperty) && GetTextEditLogFont(control, &storedFont);
    HWND parent = GetParent(control);
    if (!parent)
        parent = activePlanPane;
    HWND made = CreateTextEditWindow(static_cast<DWORD>(style), rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, parent);
    if (!made)
        return nullptr;
    DestroyWindow(control);
    // The font goes over before the text, so that the text is laid out in it alone.
    if (font) {
        HFONT own = ControlFontHandle(made);
        SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (own != font)
            DeleteOwnedFont(own);
    }
    SetWindowTextA(made, text.data());
    if (hasStoredFont)
        KeepStoredFont(made, storedFont);
    return made;
}

PlanObject* FindTextLabelOnFloor(PlanFloor* floor, HWND control, uint8_t selectedOnly)
{
    if (!floor || !control)
        return nullptr;
    return FindTextLabelInList(floor->firstObject, control, selectedOnly);
}

PlanObject* FindTextLabelInFloors(HWND control, uint8_t selectedOnly)
{
    if (!activeDocument || !control)
        return nullptr;
    for (PlanFloor* floor = activeDocument->firstFloor; floor; floor = floor->next)
        if (PlanObject* frame = FindTextLabelOnFloor(floor, control, selectedOnly))
            return frame;
    return nullptr;
}

PlanObject* FindTextLabelOfObject(HWND control, uint8_t selectedOnly)
{
    return FindTextLabelInFloors(control, selectedOnly);
}

void SetTextFrameFromEditRect(PlanObject* textFrame, const RECT* rect)
{
    PlanSettings* settings = ActiveSettings();
    if (!textFrame || !rect || !activePlanPane || !settings)
        return;
    RECT grown = *rect;
    InflateRect(&grown, kFrameMargin, kFrameMargin);
    // The frame keeps its first corner (top left in the pane) and takes the text's width and
    // height; an edge whose size stays in whole units stays exactly where it lies, so that
    // no refit moves it by what rounding took off.
    const RECT was = FrameRectFromBox3D(textFrame, settings->viewPlane);
    const LONG sizes[2] = {grown.right - grown.left, grown.bottom - grown.top};
    const LONG wasSizes[2] = {was.right - was.left, was.bottom - was.top};
    int axes[2];
    GetViewPlaneAxes(settings->viewPlane, &axes[0], &axes[1]);
    float* box3D = textFrame->box3D;
    float edges[2][2];  // by axis: the first edge, the far one
    for (int i = 0; i < 2; ++i) {
        const int low = BoxMinSlotOfAxis(axes[i]);
        const bool forward = RunsWithPane(axes[i], i);
        edges[i][0] = forward ? box3D[low] : box3D[low + 3];
        edges[i][1] = forward ? box3D[low + 3] : box3D[low];
        if (sizes[i] != wasSizes[i])
            edges[i][1] = edges[i][0] + static_cast<float>(forward ? sizes[i] : -sizes[i]);
    }
    const float corners[4][2] = {{edges[0][0], edges[1][0]},
                                 {edges[0][1], edges[1][0]},
                                 {edges[0][1], edges[1][1]},
                                 {edges[0][0], edges[1][1]}};
    int index = 0;
    for (PlanVertex* vertex = textFrame->firstVertex; vertex && index < 4; vertex = vertex->next, ++index) {
        vertex->position[axes[0]] = corners[index][0];
        vertex->position[axes[1]] = corners[index][1];
    }
    // The 3D box holds the view plane's two coordinates, each in its own slot (the box
    // puts the height first); the third is 0.
    for (int i = 0; i < 2; ++i) {
        const int low = BoxMinSlotOfAxis(axes[i]);
        box3D[low] = std::min(edges[i][0], edges[i][1]);
        box3D[low + 3] = std::max(edges[i][0], edges[i][1]);
    }
    const int other = BoxMinSlotOfAxis(3 - axes[0] - axes[1]);
    box3D[other] = 0.0f;
    box3D[other + 3] = 0.0f;
    ResetExtentRect(textFrame->box2D);
    GetObjectExtents2D(textFrame, 0, textFrame->box2D, 0, 0);
}

void RefitTextEditWindow(PlanObject* textFrame)
{
    HWND control = FrameControl(textFrame);
    PlanSettings* settings = ActiveSettings();
    if (!control || !settings || fittingTextControl)
        return;
    // The text is laid out as a fresh open of the plan lays it out, whatever the zoom: in
    // the control's own font, at the frame's size at the plan's own scale, with the
    // margins a fresh control has there; the line height and the frame's new height are
    // of that scale too.
    RECT frameRect = FrameRectFromBox3D(textFrame, settings->viewPlane);
    InflateRect(&frameRect, -kFrameMargin, -kFrameMargin);
    const LONG frameWidth = frameRect.right - frameRect.left;
    const LONG frameHeight = frameRect.bottom - frameRect.top;
    HDC dc = GetDC(control);
    if (!dc)
        return;
    HFONT font = ControlFontHandle(control);
    HGDIOBJ previousFont = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics;
    LONG lineHeight = GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : 0;
    if (previousFont)
        SelectObject(dc, previousFont);
    ReleaseDC(control, dc);
    // The lines as a control made fresh at the frame's size breaks them; the text's own
    // control, through which the user types, then wraps them alike: the same margins, and
    // its formatting rectangle at the frame's size, from nothing.
    KeptTextLayout fresh = {};
    LayOutFreshLines(control, font, SIZE{std::max(frameWidth, 0L), std::max(frameHeight, 0L)},
                     ControlTextOf(control), nullptr, &fresh);
    const LONG lines = fresh.lineCount;
    const RECT format = {0, 0, frameWidth, lineHeight * lines + kLastLineRoom};
    KeptTextLayout* kept = KeptLayoutFor(control);
    fittingTextControl = true;
    if (SendMessageA(control, EM_GETMARGINS, 0, 0) != fresh.margins)
        SendMessageA(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, fresh.margins);
    SendMessageA(control, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
    fittingTextControl = false;
    kept->refitRect = true;
    if (frameHeight == format.bottom)
        return;

    HWND pane = GetParent(control);
    if (!pane)
        pane = activePlanPane;
    RECT before = FrameScreenRect(textFrame, pane);
    SetTextFrameFromEditRect(textFrame, &format);
    RECT after = FrameScreenRect(textFrame, pane);
    if (pane && !EqualRect(&before, &after)) {
        InvalidateRect(pane, &before, TRUE);
        InvalidateRect(pane, &after, TRUE);
    }
}

namespace {

// The road of a page, the copy's picture and an export (and of the screen without kept
// lines): the control is placed (but for the copy) and its lines are laid out from
// nothing at its size in the zoomed font, as the screen lays them out.
void LayOutTextLines(TextFit& fit, bool copyPicture, KeptTextLayout* lines)
{
    if (!copyPicture)
        MoveControlTo(fit.control, fit.place);
    RestoreControlFormat(fit.control, KeptLayoutFor(fit.control));
    // The lines are laid out in the copy of the face (text_layout_font.h).
    HFONT lentFont = AcquireRunFont(TextLayoutLogFont(fit.zoomed));
    HFONT layoutFont = lentFont ? lentFont : fit.own;
    if (copyPicture && streamMemoryMode && layoutFont && GetWindowTextLengthA(fit.control) > 0) {
        // While a copy is being made the lines are spaced as the control spaces them.
        if (HDC controlDC = GetDC(fit.control)) {
            HGDIOBJ before = SelectObject(controlDC, layoutFont);
            TEXTMETRICA own;
            LOGFONTA drawn;
            if (GetTextMetricsA(controlDC, &own) && GetObjectA(layoutFont, sizeof drawn, &drawn) > 0)
                fit.lineHeight = own.tmExternalLeading - drawn.lfHeight;
            SelectObject(controlDC, before);
            ReleaseDC(fit.control, controlDC);
        }
    }
    RECT client;
    GetClientRect(fit.control, &client);
    LayOutFreshLines(fit.control, layoutFont, SIZE{client.right, client.bottom}, ControlTextOf(fit.control), nullptr,
                     lines);
    if (lentFont)
        ReleaseRunFont(lentFont);
}

// Writes the lines from the box's top, one line height apart, aligned as the control
// aligns them (scaled and in black on a page).
void DrawTextLines(const TextFit& fit, const KeptTextLayout& lines, bool printing, const ColourTriple& pen)
{
    if (lines.lines.empty())
        return;
    const float scaleX = printing ? printScaleX : 1.0f;
    const float scaleY = printing ? printScaleY : 1.0f;
    UINT alignment = TA_LEFT;
    float x = static_cast<float>(fit.box.left);
    if (fit.style & ES_CENTER) {
        alignment = TA_CENTER;
        x = static_cast<float>(fit.box.left + fit.box.right) / 2.0f;
    } else if (fit.style & ES_RIGHT) {
        alignment = TA_RIGHT;
        x = static_cast<float>(fit.box.right);
    }
    const int textX = RoundHalfUp(x * scaleX);
    const int textTop = RoundHalfUp(static_cast<float>(fit.box.top) * scaleY);
    const COLORREF colour = printing ? RGB(0, 0, 0) : RGB(pen.red / 257, pen.green / 257, pen.blue / 257);
    const UINT previousAlignment = SetTextAlign(fit.out, alignment | TA_TOP | TA_NOUPDATECP);
    const COLORREF previousColour = SetTextColor(fit.out, colour);
    const int previousMode = SetBkMode(fit.out, TRANSPARENT);
    for (const auto& line : lines.lines)
        TextOutA(fit.out, textX, textTop + line.first * fit.lineHeight, line.second.data(),
                 static_cast<int>(line.second.size()));
    SetBkMode(fit.out, previousMode);
    SetTextColor(fit.out, previousColour);
    SetTextAlign(fit.out, previousAlignment);
}

} // namespace

bool FitTextEditToObject(HDC dc, HWND control, PlanObject* textFrame, const RECT* area)
{
    PlanSettings* settings = ActiveSettings();
    const bool printing = planOutputMode != 0 && planDC != nullptr;
    // The copy's metafile takes the lines without the control being moved.
    const bool copyPicture = printing && renderingCopyPicture;
    TextFit fit = {};
    fit.control = control;
    fit.out = printing ? planDC : dc;
    if (!settings || !textFrame || !control || !IsWindow(control) || !fit.out)
        return true;

    ResetExtentRect(textFrame->box2D);
    GetObjectExtents2D(textFrame, 0, textFrame->box2D, 0, 0);
    if (textFrame->box2D[kRectMinX] == kExtentEmpty)
        return true;  // a frame without corners has nowhere to go
    fit.box = FrameRectFromBox2D(textFrame, -ZoomInt(kFrameMargin));

    // The control sits over the frame with the zoomed font, so that its lines wrap as
    // the frame shows them. The printed page takes the same lines, scaled, so that the
    // print breaks the text where the screen does.
    POINT origin = {0, 0};
    fit.pane = GetParent(control);
    if (HDC paneDC = fit.pane ? GetDC(fit.pane) : nullptr) {
        DPtoLP(paneDC, &origin, 1);
        ReleaseDC(fit.pane, paneDC);
    }
    // A window is never less than empty: a frame thinner than its margins gets an empty
    // control.
    fit.place = {fit.box.left - origin.x, fit.box.top - origin.y, std::max(fit.box.left, fit.box.right) - origin.x,
                 std::max(fit.box.top, fit.box.bottom) - origin.y};

    // The screen keeps each text's lines between repaints; a page, the copy's picture
    // and an export lay them out as they draw them.
    KeptTextLayout* layout = nullptr;
    if (textLayoutsKept && !printing && exportKind == 0 && !exportDxf2D && !exportDxf3D)
        layout = KeptLayoutFor(control);
    fit.own = ControlFontHandle(control);
    if (!layout) {
        GetControlLogFont(control, &fit.font);
    } else {
        if (!fit.own || layout->storedFor != fit.own) {
            const bool given = GetTextEditLogFont(control, &layout->stored);
            if (!given)
                layout->stored = dimensionLogFont;
            layout->storedFor = given ? fit.own : nullptr;
        }
        fit.font = layout->stored;
    }
    fit.zoomedHeight = static_cast<LONG>(ZoomFloat(static_cast<float>(fit.font.lfHeight)));
    fit.zoomed = LookOfHeight(fit.font, fit.zoomedHeight);
    const float printedHeight = static_cast<float>(fit.zoomedHeight == 0 ? -1 : fit.zoomedHeight);
    HFONT drawFont = nullptr;
    if (copyPicture)
        drawFont = AcquireFontOfHeight(fit.font, static_cast<LONG>(printedHeight * printScaleX - 0.5f));
    else if (printing)
        drawFont = AcquireFontOfHeight(fit.font, static_cast<LONG>(printedHeight * printScaleY));
    else
        drawFont = AcquireRunFont(fit.zoomed);
    HGDIOBJ outPreviousFont = SelectTextFont(fit.out, drawFont);
    TEXTMETRICA metrics;
    fit.lineHeight = GetTextMetricsA(fit.out, &metrics) ? metrics.tmHeight : 0;
    fit.style = GetWindowLongA(control, GWL_STYLE);

    KeptTextLayout scratch = {};
    const bool shown = layout ? KeepTextLines(fit, FrameRectFromBox2D(textFrame, 1), area, layout) : true;
    if (!layout)
        LayOutTextLines(fit, copyPicture, &scratch);
    if (shown)
        DrawTextLines(fit, layout ? *layout : scratch, printing, settings->foregroundColour);
    RestoreTextFont(fit.out, outPreviousFont);
    ReleaseRunFont(drawFont);
    return shown;
}

void HandleTextTool(float x, float y, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (event != kToolPress || !document || !document->settings || !activePlanPane) {
        if (event == kToolRelease)
            ReleaseToolCapture();
        return;
    }
    PlanSettings* settings = document->settings;
    const float point[3] = {x, y, z};
    const POINT start = ProjectToPane(point);
    const RECT dragged = TrackTextFrameDrag(start);
    const RECT rect = NewTextControlRect(start, dragged);

    // The control is a child window: its place is the frame's less the pane's origin.
    POINT origin = {0, 0};
    if (HDC paneDC = GetDC(activePlanPane)) {
        DPtoLP(paneDC, &origin, 1);
        ReleaseDC(activePlanPane, paneDC);
    }
    HWND control = CreateTextEditWindow(kTextControlStyle | AlignmentStyle(textAlignment),
                                        rect.left - origin.x, rect.top - origin.y,
                                        rect.right - rect.left, kNewFrameHeight, activePlanPane);
    if (!control) {
        ShowMessageBox(frameWindow, "Memoria insufficiente per creare un nuovo oggetto di Testo.",
                       "Limite di Windows...", MB_OK | MB_TASKMODAL);
        ReleaseToolCapture();
        return;
    }
    DeactivateDocumentChild();
    SetFocus(control);
    SetTextEditFont(control, textLogFont);
    document->textEditChild = control;

    PlanObject* frame = nullptr;
    if (document->currentViewSheet) {
        const RECT model = ModelRectOfControl(rect, settings->viewPlane);
        frame = BuildTextFrameObject(&model, control, document->currentViewSheet);
    }
    if (!frame) {
        // No frame holds the control: it goes, and no text is left being edited.
        DestroyTextEditWindow(control);
        document->textEditChild = nullptr;
        ReleaseToolCapture();
        return;
    }
    if (settings->viewPlane == 2)
        SwapObjectYZ(frame);
    else if (settings->viewPlane == 3)
        SwapObjectXZ(frame);
    ResetExtentRect(frame->box2D);
    GetObjectExtents2D(frame, 0, frame->box2D, 0, 0);
    ResetExtentBox(frame->box3D);
    GetObjectExtents3D(frame, 0, frame->box3D, 0);
    frame->colourA = {0, 0, 0};
    if (HDC dc = GetDC(activePlanPane)) {
        RECT client;
        GetClientRect(activePlanPane, &client);
        DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
        DrawPlanObject(dc, frame, &client, DrawAllObjects, nullptr);
        ReleaseDC(activePlanPane, dc);
        DrawObjectSelectionMarks(frame, &client);
    }
    ReleaseToolCapture();
}
