#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "model/dialog_fields.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "support_model.h"

namespace {

std::string Format(float value, const PlanSettings* s, int raw)
{
    char text[kLengthTextSize] = "untouched";
    FormatLength(value, text, s, raw);
    return text;
}

class DialogFieldsTest : public mtest::ActiveSettingsTest {
protected:
    enum { kEdit = 101, kEdit2 = 102, kRadio1 = 201, kRadio2 = 202, kRadio3 = 203, kCheck = 301 };

    void SetUp() override
    {
        mtest::ActiveSettingsTest::SetUp();
        if (HasFatalFailure())
            return;

        dialog = CreateWindowExA(0, "STATIC", "fields", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, dialog);
        Child("EDIT", WS_BORDER | ES_AUTOHSCROLL, kEdit);
        Child("EDIT", WS_BORDER | ES_AUTOHSCROLL, kEdit2);
        Child("BUTTON", BS_RADIOBUTTON, kRadio1);
        Child("BUTTON", BS_RADIOBUTTON, kRadio2);
        Child("BUTTON", BS_RADIOBUTTON, kRadio3);
        Child("BUTTON", BS_CHECKBOX, kCheck);
    }
    void TearDown() override
    {
        if (dialog) DestroyWindow(dialog);
        mtest::ActiveSettingsTest::TearDown();
    }
    void Child(const char* cls, DWORD style, int id)
    {
        HWND w = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 20 * (id % 100), 200, 18,
                                 dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, w);
    }
    std::string Text(int id)
    {
        char buf[256] = {};
        GetDlgItemTextA(dialog, id, buf, sizeof(buf));
        return buf;
    }
    float Typed(const char* text)
    {
        SetDlgItemTextA(dialog, kEdit, text);
        return GetDlgItemLength(dialog, kEdit);
    }

    HWND dialog = nullptr;
};

}  // namespace

TEST(LengthFormat, DecimalFormats)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    s->displayFormat = 5058;
    EXPECT_EQ("13", Format(12.6f, s, 0));
    s->displayFormat = 5059;
    EXPECT_EQ("12.6", Format(12.61f, s, 0));
    s->displayFormat = 5061;
    EXPECT_EQ("1.250", Format(1.25f, s, 0));
    s->displayFormat = 5062;
    EXPECT_EQ("1.2500", Format(1.25f, s, 0));
    s->displayFormat = 5057;
    EXPECT_EQ("1.25", Format(1.25f, s, 0));

    // Two decimals with the mark of the unit system; metric converts inches to metres.
    s->displayFormat = 5060;
    s->unitSystem = kUnitSystemMetric;
    EXPECT_EQ("1.00 m", Format(39.37f, s, 0));
    s->unitSystem = kUnitSystemFeetInches;
    EXPECT_EQ("39.37\"", Format(39.37f, s, 0));
    s->unitSystem = 0;
    EXPECT_EQ("39.37", Format(39.37f, s, 0));

    // Missing settings or text: nothing is written.
    EXPECT_EQ("untouched", Format(1.0f, nullptr, 1));
    FormatLength(1.0f, nullptr, s, 1);
    FreePlanSettings(s);
}

TEST(LengthFormat, WholeInchesAndFeetInchesNeedTheRawFlag)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    s->unitSystem = kUnitSystemFeetInches;
    s->displayFormat = 5064;
    EXPECT_EQ("66.00\"", Format(66.0f, s, 0));  // shown as 5060 without the flag
    EXPECT_EQ("5'-6\"", Format(66.0f, s, 1));
    EXPECT_EQ("1'-0\"", Format(12.0f, s, 1));
    EXPECT_EQ("5\"", Format(5.0f, s, 1));
    EXPECT_EQ("2'-0\"", Format(23.8f, s, 1));   // 11.8 rounds to 12, carried into a foot
    EXPECT_EQ("1'-0\"", Format(11.6f, s, 1));
    EXPECT_EQ("0\"", Format(0.4f, s, 1));
    // Negative lengths: one sign for the whole text.
    EXPECT_EQ("-5'-6\"", Format(-66.0f, s, 1));
    EXPECT_EQ("-1'-0\"", Format(-11.6f, s, 1));
    EXPECT_EQ("-5\"", Format(-5.0f, s, 1));

    s->displayFormat = 5063;
    EXPECT_EQ("7\"", Format(6.5f, s, 1));
    EXPECT_EQ("-7\"", Format(-6.5f, s, 1));
    EXPECT_EQ("0\"", Format(-0.3f, s, 1));
    // The value is first turned into inches by the drawing unit.
    s->drawingUnit = 2;  // feet
    EXPECT_EQ("30\"", Format(2.5f, s, 1));
    s->displayFormat = 5064;
    EXPECT_EQ("2'-6\"", Format(2.5f, s, 1));
    FreePlanSettings(s);
}

TEST(LengthParse, FeetAndInchesAsTyped)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    s->displayFormat = 5060;
    s->unitSystem = kUnitSystemFeetInches;   // metric 5060 reads metres
    EXPECT_FLOAT_EQ(66.0f, ParseLengthText("5'-6\"", s));
    EXPECT_FLOAT_EQ(66.0f, ParseLengthText("5-6", s));
    EXPECT_FLOAT_EQ(-66.0f, ParseLengthText("-5-6", s));
    EXPECT_FLOAT_EQ(120.0f, ParseLengthText("10-", s));
    EXPECT_FLOAT_EQ(66.0f, ParseLengthText("5'6", s));
    EXPECT_FLOAT_EQ(7.25f, ParseLengthText("7.25", s));
    EXPECT_FLOAT_EQ(-3.5f, ParseLengthText("-3.5", s));
    EXPECT_EQ(0.0f, ParseLengthText("abc", s));
    EXPECT_EQ(0.0f, ParseLengthText("", s));
    // Blanks around a length are no separator; a second separator is no length.
    EXPECT_FLOAT_EQ(-5.0f, ParseLengthText(" -5", s));
    EXPECT_EQ(0.0f, ParseLengthText("5-6-", s));
    // What the feet-inches format writes reads back.
    s->unitSystem = kUnitSystemFeetInches;
    s->displayFormat = 5064;
    EXPECT_FLOAT_EQ(-66.0f, ParseLengthText(Format(-66.0f, s, 1).c_str(), s));

    // Feet-inches formats with the metric unit system read metres.
    s->unitSystem = kUnitSystemMetric;
    EXPECT_FLOAT_EQ(78.74f, ParseLengthText("2", s));
    s->displayFormat = 5063;
    EXPECT_FLOAT_EQ(78.74f, ParseLengthText("2", s));
    FreePlanSettings(s);
}

// What the formats write reads back in the drawing unit; metric texts are metres of
// the length in inches whatever the drawing unit; negative lengths keep one sign.
TEST(LengthFormat, UnitsSignsAndReadingBack)
{
    PlanSettings* s = CreatePlanSettings();
    ASSERT_NE(nullptr, s);
    struct Case {
        uint16_t format, units, drawingUnit;
        float value;
        const char* text;
        float readBack;
    } cases[] = {
        {5060, kUnitSystemMetric, 1, 96.0f, "2.44 m", 96.0628f},
        {5060, kUnitSystemMetric, 2, 10.0f, "3.05 m", 10.0065f},   // feet
        {5064, kUnitSystemFeetInches, 2, 5.5f, "5'-6\"", 5.5f},
        {5063, kUnitSystemFeetInches, 1, -0.7f, "-1\"", -1.0f},
        {5063, kUnitSystemFeetInches, 1, -6.5f, "-7\"", -7.0f},
        {5064, kUnitSystemFeetInches, 1, -6.0f, "-6\"", -6.0f},
        {5064, kUnitSystemFeetInches, 1, -66.0f, "-5'-6\"", -66.0f},
    };
    for (const Case& c : cases) {
        s->displayFormat = c.format;
        s->unitSystem = c.units;
        s->drawingUnit = c.drawingUnit;
        const std::string text = Format(c.value, s, 1);
        EXPECT_EQ(text, c.text) << c.format << " " << c.value;
        EXPECT_NEAR(ParseLengthText(text.c_str(), s), c.readBack, 1e-3f) << text;
    }
    // A zero foot count keeps the leading minus.
    s->displayFormat = 5064;
    s->drawingUnit = 1;
    EXPECT_FLOAT_EQ(-6.0f, ParseLengthText("-0-6", s));
    EXPECT_FLOAT_EQ(-6.0f, ParseLengthText("-0'-6\"", s));
    // A damaged length is written within the text's room.
    s->displayFormat = 5059;
    EXPECT_LT(Format(3.0e38f, s, 1).size(), kLengthTextSize);
    FreePlanSettings(s);
}

TEST(LengthParse, TextLongerThanAFieldIsRefused)
{
    std::string digits(1000, '9');
    digits[0] = '1';
    digits[1] = '-';
    // More than the 255 characters of a field is no length, and is never read cut.
    EXPECT_EQ(0.0f, ParseLengthText(digits.c_str(), nullptr));
}

TEST_F(DialogFieldsTest, LengthsGoInAndComeOut)
{
    settings->unitSystem = kUnitSystemFeetInches;
    settings->displayFormat = 5064;
    SetDlgItemLength(dialog, kEdit, 66.0f, settings, 0, 1);
    EXPECT_EQ("5'-6\"", Text(kEdit));
    EXPECT_FLOAT_EQ(66.0f, GetDlgItemLength(dialog, kEdit));
    SetDlgItemLength(dialog, kEdit, 66.0f, settings, 0, 0);
    EXPECT_EQ("66.00\"", Text(kEdit));

    EXPECT_FLOAT_EQ(120.0f, Typed("10-"));
    EXPECT_FLOAT_EQ(0.0f, Typed("feet"));

    // With the metric unit system, feet-inches formats read metres.
    settings->unitSystem = kUnitSystemMetric;
    EXPECT_FLOAT_EQ(78.74f, Typed("2"));

    // Without a dialog or an active document's settings: 0.
    EXPECT_EQ(0.0f, GetDlgItemLength(nullptr, kEdit));
    document.settings = nullptr;
    EXPECT_EQ(0.0f, Typed("5"));
    document.settings = settings;
    activeDocument = nullptr;
    EXPECT_EQ(0.0f, Typed("5"));
    activeDocument = &document;

    SetDlgItemTextA(dialog, kEdit2, "keep");
    SetDlgItemLength(dialog, kEdit2, 1.0f, nullptr, 0, 0);
    EXPECT_EQ("keep", Text(kEdit2));
    SetDlgItemLength(nullptr, kEdit2, 1.0f, settings, 0, 0);
}

TEST_F(DialogFieldsTest, FocusFlagSelectsTheWholeText)
{
    settings->displayFormat = 5059;
    SetDlgItemLength(dialog, kEdit, 12.5f, settings, 1, 0);
    EXPECT_EQ("12.5", Text(kEdit));
    HWND edit = GetDlgItem(dialog, kEdit);
    EXPECT_EQ(edit, GetFocus());
    DWORD start = 99, end = 99;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(4u, end);

    SetDlgItemLong(dialog, kEdit2, -1234, 1);
    EXPECT_EQ("-1234", Text(kEdit2));
    HWND edit2 = GetDlgItem(dialog, kEdit2);
    EXPECT_EQ(edit2, GetFocus());
    SendMessageA(edit2, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(5u, end);
}

TEST_F(DialogFieldsTest, NumbersAndButtons)
{
    SetDlgItemTextA(dialog, kEdit, "3.75");
    EXPECT_FLOAT_EQ(3.75f, GetDlgItemFloat(dialog, kEdit));
    SetDlgItemTextA(dialog, kEdit, "-42");
    EXPECT_EQ(-42, GetDlgItemLong(dialog, kEdit));
    SetDlgItemLong(dialog, kEdit, 250, 0);
    EXPECT_EQ("250", Text(kEdit));
    EXPECT_EQ(0.0f, GetDlgItemFloat(nullptr, kEdit));
    EXPECT_EQ(0, GetDlgItemLong(nullptr, kEdit));

    CheckDlgRadio(dialog, kRadio2, kRadio1, kRadio3);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, kRadio1));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, kRadio2));
    CheckDlgRadio(dialog, kRadio3, kRadio1, kRadio3);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, kRadio2));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, kRadio3));

    SetDlgButtonCheck(dialog, kCheck, 1);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, kCheck));
    SetDlgButtonCheck(dialog, kCheck, 0);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, kCheck));

    HWND edit = GetDlgItem(dialog, kEdit);
    SetDlgItemDisabled(dialog, kEdit, 1);
    EXPECT_FALSE(IsWindowEnabled(edit));
    SetDlgItemDisabled(dialog, kEdit, 0);
    EXPECT_TRUE(IsWindowEnabled(edit));

    HideDlgItem(dialog, kEdit);
    EXPECT_FALSE(IsWindowVisible(edit));
    ShowDlgItem(dialog, kEdit);
    EXPECT_TRUE(IsWindowVisible(edit));
    // Missing controls and a missing dialog are ignored.
    ShowDlgItem(dialog, 999);
    HideDlgItem(nullptr, kEdit);
    SetDlgItemDisabled(nullptr, kEdit, 1);
    CheckDlgRadio(nullptr, kRadio1, kRadio1, kRadio3);
    SetDlgButtonCheck(nullptr, kCheck, 1);
    SetDlgItemLong(nullptr, kEdit, 1, 1);
}
