// The program's own resources as the shell loads them: menu 128, "MdiAccel", the help
// strings, the named cursors, icon 1, dialog 2002 and the frame's bitmaps.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>
#include "resources/resource_ids.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

struct MenuHolder {
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(128));
    ~MenuHolder() { if (menu) DestroyMenu(menu); }
};

std::string MenuText(HMENU menu, UINT id)
{
    char buffer[512] = {};
    int n = GetMenuStringA(menu, id, buffer, sizeof buffer, MF_BYCOMMAND);
    return std::string(buffer, n > 0 ? n : 0);
}

bool HasCommand(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) != 0xFFFFFFFFu; }

// Every command id of a menu tree, in order, sub-menus included.
void CollectCommands(HMENU menu, std::vector<UINT>& ids)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            CollectCommands(sub, ids);
            continue;
        }
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        if (!(info.fType & MFT_SEPARATOR)) ids.push_back(info.wID);
    }
}

std::string LoadText(UINT id)
{
    char buffer[512] = {};
    int n = LoadStringA(Module(), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

struct QuotedItem { UINT id; const char* text; };

// Every menu text the program's documentation quotes, with its command.
const QuotedItem kQuotedItems[] = {
    {1, "&Quitter\tCtrl+Q"}, {2, "&Nouveau\tCtrl+N"}, {3, "&Ouvrir...\tCtrl+O"},
    {4, "&Fermer\tCtrl+W"}, {5, "Enregi&strer\tCtrl+S"}, {6, "Enre&gistrer sous..."},
    {9, "&Imprimer en ajustant à la page...\tCtrl+P"}, {16, "&Annuler\tCtrl+Z"},
    {18, "&Couper\tCtrl+X"}, {19, "Co&pier\tCtrl+C"}, {20, "Co&ller\tCtrl+V"},
    {30, "&Texte..."}, {5000, "Objet Q&uintara..."}, {5002, "&Dimensions du plan...\tCtrl+L"},
    {5003, "Sélectio&nner tout\tCtrl+A"}, {5011, "&Unité de mesure...\tCtrl+M"},
    {5030, "Couleur de &fond..."}, {5036, "&Haut"}, {5037, "&Bas"}, {5038, "&Gauche"},
    {5039, "&Droite"}, {5044, "Grille &visible"}, {5045, "Grille mag&nétique\tCtrl+R"},
    {5046, "Propriétés de la &grille...\tCtrl+G"}, {5095, "&DXF..."},
    {5111, "&Sommaire...\tF1"}, {5112, "&Utiliser l'aide..."}, {5113, "&A propos de..."},
    {5156, "&Rez-de-chaussée..."}, {5157, "&Premier étage..."}, {5158, "&Second étage..."},
    {5168, "Etage &supérieur"}, {5169, "Etage &inférieur"}, {5170, "Etage &supérieur"},
    {5171, "Etage &inférieur"}, {5177, "&Propriétés des cotes..."},
    {5189, "&Visite virtuelle"}, {5190, "V&ue aérienne"}, {5199, "S&upprimer\tSuppr"},
    {5202, "A&ctualiser\tCtrl+H"}, {5206, "Facteur de &zoom de la vue en plan..."},
    {5207, "E&chelle du plan..."}, {5215, "&Déplacement..."}, {5216, "&Rotation..."},
    {5218, "&Rechercher..."}, {5231, "E&diteur de Mobilier 3D ..."},
    {5236, "&Simulation de croissance..."}, {5237, "&Age de plantation..."},
    {5239, "&Elévation du point de vue..."}, {5240, "&Altitude de vol..."},
    {5241, "Rétablir la vue &3D"}, {5245, "&BMP..."}, {5253, "Ec&lairage 3D..."},
    {5257, "P&lan plein écran"}, {5258, "Vue 3D &quart d'écran"}, {5259, "Vue 3D &demi écran"},
    {5260, "Vue 3D &plein écran"}, {5262, "Rétablir la vue en &plan"},
    {5265, "Couleur de l'étage en &cours..."}, {5266, "&Rétablir les couleurs"},
    {5270, "Vue &3D"}, {5271, "Elévation de l'&objet..."}, {5272, "&Korvane..."},
    {5273, "Imprimer à l'éche&lle..."}, {5274, "&Règle virtuelle"},
    {5275, "&Rez-de-chaussée"}, {5276, "&Premier étage"}, {5277, "&Second étage"},
    {5278, "Visualiser &tous les étages"}, {5279, "Visualiser uniquement l'étage en &cours"},
    {5280, "Charger une &image pour l'Zivezuzezor az arar..."},
    {5281, "Image de l'Zivezuzezor az arar &visible"},
    {5282, "&Redimensionner l'image dans l'Zivezuzezor az arar..."},
    {5285, "Rendu 3D en qualité &finale"}, {5286, "Om&bres 3D"},
    {5287, "3D en phase d'&ossature"}, {5288, "3D en phase d'&achèvement"},
    {5289, "Cotes des portes/&fenêtres"}, {5290, "&Cotes automatiques"},
    {5291, "&Basse (rapide)"}, {5292, "&Haute (moyen)"}, {5293, "&Très haute (lent)"},
    {5294, "&Excellente (très lent)"}, {5297, "Couleur de l'étage &inactif..."},
    {5300, "Superficie du &rez-de-chaussée"}, {5301, "Superficie du &premier étage"},
    {5302, "Superficie du &second étage"}, {5303, "&Estimateur de coût..."},
    {5322, "Ma&squer les portes en vue 3D"}, {5325, "Re&ndu en transparence"},
    {5326, "Adapter à la topo&graphie"}, {5327, "Définir l'élévation de travail..."},
    {5333, "&Faible (rapide)"}, {5334, "&Haute (lent)"},
    {5335, "&Fondation"}, {5342, "Pa&ysage"}, {5343, "&Fondation"}, {5350, "Pa&ysage"},
    {5351, "A&vant"}, {5352, "A&rrière"}, {5353, "&Gauche"}, {5354, "&Droite"},
};

struct AccelEntry { BYTE flags; WORD key; WORD command; };

const AccelEntry kMdiAccel[] = {
    {FVIRTKEY | FCONTROL, 'N', 2},    {FVIRTKEY, VK_F1, 5111},
    {FVIRTKEY | FCONTROL, 'M', 5011}, {FVIRTKEY | FCONTROL, 'O', 3},
    {FVIRTKEY | FCONTROL, 'G', 5046}, {FVIRTKEY | FCONTROL, 'R', 5045},
    {FVIRTKEY | FCONTROL, 'F', 5178}, {FVIRTKEY | FCONTROL, 'D', 5067},
    {FVIRTKEY | FCONTROL, 'T', 5070}, {FVIRTKEY | FCONTROL, 'W', 4},
    {FVIRTKEY | FCONTROL, 'S', 5},    {FVIRTKEY | FCONTROL, 'P', 9},
    {FVIRTKEY | FCONTROL, 'Q', 1},    {FVIRTKEY | FCONTROL, 'Z', 16},
    {FVIRTKEY | FCONTROL, 'X', 18},   {FVIRTKEY | FCONTROL, 'C', 19},
    {FVIRTKEY | FCONTROL, 'V', 20},   {FVIRTKEY | FCONTROL, 'A', 5003},
    {FVIRTKEY | FCONTROL, 'E', 5028}, {FVIRTKEY | FCONTROL, 'L', 5002},
    {FVIRTKEY | FCONTROL, 'H', 5202},
};

const char* const kCursorNames[] = {
    "ZoomCursor", "ZoomCursorIn", "ZoomCursorOut", "DropperCursor", "HandCursor",
    "FootCursor", "FootCursorLeft", "FootCursorRight", "Chopper1", "Chopper2",
    "EyeCenterCursor", "EyeLeftCursor", "EyeRightCursor", "EyeBlinkCursor", "Rotate",
    "NoDrag", "Camera", "Finger", "FingerDrag", "Finger3D", "Invisible", "Wall", "Door",
    "Window", "Roof", "Floor", "Path", "Fill", "Edging", "Fence", "Gate", "Topo", "CAD",
};

// The AND mask of a cursor, top row first: true where the cursor covers the screen.
struct CursorShape {
    int width = 0, height = 0, hotX = -1, hotY = -1;
    std::vector<bool> opaque;
    bool At(int x, int y) const { return opaque[y * width + x]; }
};

CursorShape ReadCursor(HCURSOR cursor)
{
    CursorShape shape;
    ICONINFO info = {};
    if (!GetIconInfo(cursor, &info)) return shape;
    BITMAP bm = {};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    shape.width = bm.bmWidth;
    // A monochrome cursor keeps its AND mask above its XOR mask in one bitmap.
    int maskRows = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    shape.height = maskRows;
    shape.hotX = info.xHotspot;
    shape.hotY = info.yHotspot;
    struct { BITMAPINFOHEADER h; RGBQUAD colours[2]; } bmi = {};
    bmi.h.biSize = sizeof bmi.h;
    bmi.h.biWidth = bm.bmWidth;
    bmi.h.biHeight = -bm.bmHeight;
    bmi.h.biPlanes = 1;
    bmi.h.biBitCount = 1;
    int stride = ((bm.bmWidth + 31) / 32) * 4;
    std::vector<BYTE> bits(stride * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmMask, 0, bm.bmHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    shape.opaque.resize(shape.width * shape.height);
    for (int y = 0; y < maskRows; ++y)
        for (int x = 0; x < shape.width; ++x)
            shape.opaque[y * shape.width + x] = !(bits[y * stride + x / 8] & (0x80 >> (x % 8)));
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return shape;
}

} // namespace

TEST(FrameMenu, QuotedTextsAreExact)
{
    MenuHolder m;
    ASSERT_NE(nullptr, m.menu);
    for (const QuotedItem& item : kQuotedItems)
        EXPECT_EQ(std::string(item.text), MenuText(m.menu, item.id)) << "command " << item.id;
}

TEST(FrameMenu, AccentsArriveAsWindows1252Bytes)
{
    MenuHolder m;
    ASSERT_NE(nullptr, m.menu);
    std::string selectAll = MenuText(m.menu, 5003);
    ASSERT_GE(selectAll.size(), 2u);
    EXPECT_EQ('\xE9', selectAll[1]); // "Sé..." as one byte, not UTF-8's 0xC3 0xA9
    std::string print = MenuText(m.menu, 9);
    EXPECT_NE(std::string::npos, print.find("\xE0 la page"));
    EXPECT_EQ(std::string::npos, print.find('\xC3'));
    EXPECT_EQ('\t', MenuText(m.menu, 1)[8]); // "&Quitter" then the tab before the key
    // The sub-menu titles follow the same rule.
    HMENU plan = GetSubMenu(m.menu, 2);
    bool floors = false;
    for (int i = 0; i < GetMenuItemCount(plan); ++i) {
        char text[64] = {};
        GetMenuStringA(plan, i, text, sizeof text, MF_BYPOSITION);
        floors = floors || std::string(text) == "\xC9&tages";
    }
    EXPECT_TRUE(floors);
}

TEST(FrameMenu, TopLevelOrderServesMenuUpkeepAndWindowList)
{
    MenuHolder m;
    ASSERT_NE(nullptr, m.menu);
    // Fewer than 8 items, so the upkeep finds Edit..Window at 1..5 for a restored document.
    ASSERT_EQ(7, GetMenuItemCount(m.menu));
    for (int i = 0; i < 7; ++i) EXPECT_NE(nullptr, GetSubMenu(m.menu, i)) << i;
    HMENU file = GetSubMenu(m.menu, 0), edit = GetSubMenu(m.menu, 1), plan = GetSubMenu(m.menu, 2);
    HMENU options = GetSubMenu(m.menu, 3), display = GetSubMenu(m.menu, 4), window = GetSubMenu(m.menu, 5);
    EXPECT_TRUE(HasCommand(file, 1));
    EXPECT_TRUE(HasCommand(file, 9));
    EXPECT_TRUE(HasCommand(edit, 16));
    for (UINT id : {5168u, 5169u, 5170u, 5171u}) EXPECT_TRUE(HasCommand(edit, id)) << id;
    EXPECT_TRUE(HasCommand(plan, 5281));
    for (UINT id = 5275; id <= 5279; ++id) EXPECT_TRUE(HasCommand(plan, id)) << id;
    for (UINT id = 5343; id <= 5350; ++id) EXPECT_TRUE(HasCommand(plan, id)) << id;
    for (UINT id : {5044u, 5045u, 5274u, 5289u, 5290u}) EXPECT_TRUE(HasCommand(options, id)) << id;
    for (UINT id : {5322u, 5333u, 5334u, 5351u, 5352u, 5353u, 5354u, 5325u, 5286u, 5287u, 5288u,
                    5291u, 5292u, 5293u, 5294u, 5189u, 5190u})
        EXPECT_TRUE(HasCommand(display, id)) << id;
    // Sub-menu 5 is the MDI client's window menu.
    EXPECT_TRUE(HasCommand(window, 5270));
    EXPECT_TRUE(HasCommand(GetSubMenu(m.menu, 6), 5113));
}

TEST(FrameMenu, EveryCommandOnceAndWithHelpText)
{
    MenuHolder m;
    ASSERT_NE(nullptr, m.menu);
    std::vector<UINT> ids;
    CollectCommands(m.menu, ids);
    std::set<UINT> seen;
    for (UINT id : ids) {
        EXPECT_TRUE(seen.insert(id).second) << "command " << id << " appears twice";
        std::string help = LoadText(id);
        EXPECT_FALSE(help.empty()) << "no help text for command " << id;
        EXPECT_LE(help.size(), 255u) << id;
    }
    for (const QuotedItem& item : kQuotedItems) EXPECT_TRUE(seen.count(item.id)) << item.id;
    // Commands without a menu item stay out of it.
    for (UINT id : {8u, 21u, 5028u, 5178u, 5067u, 5070u, 9000u}) EXPECT_FALSE(seen.count(id)) << id;
}

TEST(Accelerators, MdiAccelMatchesTheKeyTable)
{
    HACCEL accel = LoadAcceleratorsA(Module(), "MdiAccel");
    ASSERT_NE(nullptr, accel);
    const int expected = sizeof kMdiAccel / sizeof kMdiAccel[0];
    ASSERT_EQ(expected, CopyAcceleratorTableA(accel, nullptr, 0));
    std::vector<ACCEL> entries(expected);
    ASSERT_EQ(expected, CopyAcceleratorTableA(accel, entries.data(), expected));
    for (int i = 0; i < expected; ++i) {
        EXPECT_EQ(kMdiAccel[i].flags, entries[i].fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT)) << i;
        EXPECT_EQ(kMdiAccel[i].key, entries[i].key) << i;
        EXPECT_EQ(kMdiAccel[i].command, entries[i].cmd) << i;
    }
    DestroyAcceleratorTable(accel);
}

TEST(Accelerators, MenuItemsShowTheirKeys)
{
    MenuHolder m;
    ASSERT_NE(nullptr, m.menu);
    int withItem = 0;
    for (const AccelEntry& e : kMdiAccel) {
        std::string text = MenuText(m.menu, e.command);
        if (text.empty()) continue; // 5178, 5067, 5070 and 5028 have no item
        ++withItem;
        std::string key = e.key == VK_F1 ? std::string("F1") : std::string("Ctrl+") + char(e.key);
        ASSERT_GE(text.size(), key.size() + 1) << e.command;
        EXPECT_EQ("\t" + key, text.substr(text.size() - key.size() - 1)) << e.command;
    }
    EXPECT_EQ(17, withItem);
}

TEST(Strings, HelpTextsOfCommandsAndTools)
{
    EXPECT_EQ("S\xE9lectionne tous les objets du plan", LoadText(5003));
    EXPECT_EQ("Cr\xE9" "e un nouveau plan", LoadText(2));
    EXPECT_EQ("Ferme tous les plans et quitte le programme", LoadText(1));
    // Print setup has no menu item; its status text is the one the print commands name.
    EXPECT_EQ("Sp\xE9" "cifie des param\xE8tres d'impression tels que l'orientation de la page", LoadText(8));
    // Every tool whose button shows its help on hover has a text.
    std::vector<UINT> tools;
    for (UINT id = 200; id <= 206; ++id) tools.push_back(id);
    for (UINT id : {400u, 401u, 3300u}) tools.push_back(id);
    for (UINT id = 7050; id <= 7061; ++id) tools.push_back(id);
    for (UINT id = 7500; id <= 7512; ++id) tools.push_back(id);
    for (UINT id = 7700; id <= 7707; ++id) tools.push_back(id);
    for (UINT id = 3400; id <= 3403; ++id) tools.push_back(id);
    for (UINT id = 3430; id <= 3433; ++id) tools.push_back(id);
    for (UINT id : tools) {
        std::string help = LoadText(id);
        EXPECT_FALSE(help.empty()) << "tool " << id;
        EXPECT_LE(help.size(), 255u) << id;
    }
    // Ids nobody shows help for have none, so the status bar keeps its text.
    EXPECT_TRUE(LoadText(25000).empty());
}

TEST(Cursors, AllThirtyThreeLoadByName)
{
    ASSERT_EQ(33u, sizeof kCursorNames / sizeof kCursorNames[0]);
    for (const char* name : kCursorNames)
        EXPECT_NE(nullptr, LoadCursorA(Module(), name)) << name;
}

TEST(Cursors, HotspotsSitOnTheirPictures)
{
    // Tips and cross centres must be drawn pixels; every other hotspot lies inside the picture.
    const std::set<std::string> onPixel = {"Finger", "FingerDrag", "Finger3D", "DropperCursor",
        "Wall", "Door", "Window", "Roof", "Floor", "Path", "Fill", "Edging", "Fence", "Gate", "Topo", "CAD"};
    for (const char* name : kCursorNames) {
        if (std::string(name) == "Invisible") continue;
        CursorShape s = ReadCursor(LoadCursorA(Module(), name));
        ASSERT_EQ(32, s.width) << name;
        ASSERT_EQ(32, s.height) << name;
        int left = 32, right = -1, top = 32, bottom = -1;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (s.At(x, y)) {
                    left = std::min(left, x); right = std::max(right, x);
                    top = std::min(top, y); bottom = std::max(bottom, y);
                }
        EXPECT_GE(s.hotX, left) << name;
        EXPECT_LE(s.hotX, right) << name;
        EXPECT_GE(s.hotY, top) << name;
        EXPECT_LE(s.hotY, bottom) << name;
        if (onPixel.count(name)) {
            EXPECT_TRUE(s.At(s.hotX, s.hotY)) << name;
        }
    }
    CursorShape finger = ReadCursor(LoadCursorA(Module(), "Finger"));
    EXPECT_LE(finger.hotY, 1); // the finger tip is at the top
    CursorShape wall = ReadCursor(LoadCursorA(Module(), "Wall"));
    EXPECT_TRUE(wall.At(wall.hotX - 3, wall.hotY) && wall.At(wall.hotX + 3, wall.hotY));
    EXPECT_TRUE(wall.At(wall.hotX, wall.hotY - 3) && wall.At(wall.hotX, wall.hotY + 3));
}

TEST(Cursors, InvisibleShowsNothing)
{
    CursorShape s = ReadCursor(LoadCursorA(Module(), "Invisible"));
    ASSERT_EQ(32, s.width);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) ASSERT_FALSE(s.At(x, y)) << x << "," << y;
}

namespace {
INT_PTR CALLBACK EmptyDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}
} // namespace

TEST(Pictures, IconAndEmptyDialog)
{
    EXPECT_NE(nullptr, LoadIconA(Module(), MAKEINTRESOURCEA(1)));
    HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(2002), nullptr, EmptyDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(nullptr, GetWindow(dialog, GW_CHILD));
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD);
    DestroyWindow(dialog);
}

TEST(Pictures, FrameBitmapsTakeTheSystemGreys)
{
    struct { UINT id; int width, height; } pictures[] = {
        {5200, 53, 127}, {5201, 53, 127}, {11000, 88, 20}, {11001, 88, 20}};
    for (auto& p : pictures) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(Module(), MAKEINTRESOURCEA(p.id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        ASSERT_NE(nullptr, bitmap) << p.id;
        BITMAP bm = {};
        GetObjectA(bitmap, sizeof bm, &bm);
        EXPECT_EQ(p.width, bm.bmWidth) << p.id;
        EXPECT_EQ(p.height, bm.bmHeight) << p.id;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        // The picture's face grey becomes the button face of the running system.
        int x = p.id >= 11000 ? 40 : 1, y = p.id >= 11000 ? 10 : 1;
        EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetPixel(dc, x, y)) << p.id;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}
