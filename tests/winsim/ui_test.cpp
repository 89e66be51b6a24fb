// The headless window system: resources read from a compiled resource file, dialogs built from their
// templates, what a dialog procedure's answers mean, focus and typing, modal dialogs, message boxes and the
// stand-in property sheet library's order of calls.
#include "winsim_test.h"

#include <compstui.h>
#include <prsht.h>

#include <string>
#include <vector>

namespace {

constexpr int kDialog = 100;

struct Heard {
    std::vector<std::pair<int, int>> commands; // control id, notification
    bool destroyed = false;
};
Heard heard;

// Answers WM_CTLCOLORBTN with a value of its own and WM_NOTIFY through DWLP_MSGRESULT.
INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        heard.commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
        }
        return TRUE;
    case WM_CTLCOLORBTN:
        return 0x1234;
    case WM_NOTIFY:
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 77);
        return TRUE;
    case WM_DESTROY:
        heard.destroyed = true;
        return FALSE;
    default:
        return FALSE;
    }
}

class Ui : public WinsimTest {
  protected:
    void SetUp() override {
        WinsimTest::SetUp();
        heard = {};
        ASSERT_EQ(winsim_ui_set_resources(nullptr, WINSIM_UI_TEST_RES), 1);
    }
    void TearDown() override {
        EXPECT_EQ(winsim_ui_windows(), 0u);
        EXPECT_EQ(winsim_ui_gdi_objects(), 0u);
        winsim_ui_set_resources(nullptr, nullptr);
        WinsimTest::TearDown();
    }
    HWND Open() {
        return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDialog), nullptr, Proc, 0);
    }
    bool Heard(int id, int code) {
        for (const auto& c : heard.commands) {
            if (c.first == id && c.second == code) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(Ui, ResourcesOfTheProcessImage) {
    HMODULE self = GetModuleHandleW(nullptr);
    WCHAR text[16] = {};
    EXPECT_EQ(LoadStringW(self, 17, text, 16), 5);
    EXPECT_EQ(std::u16string(text), u"Hello");
    EXPECT_EQ(LoadStringW(self, 17, text, 3), 2) << "cut to the buffer, terminated";
    const WCHAR* direct = nullptr;
    EXPECT_EQ(LoadStringW(self, 17, reinterpret_cast<LPWSTR>(&direct), 0), 5);
    EXPECT_EQ(std::u16string(direct, 5), u"Hello");
    EXPECT_EQ(LoadStringW(self, 18, text, 16), 0);
    EXPECT_EQ(LoadStringW(self, 17, text, -1), 0) << "a negative size is refused, not copied into";
    EXPECT_EQ(FindResourceW(self, MAKEINTRESOURCEW(kDialog), RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(FindResourceW(self, MAKEINTRESOURCEW(kDialog + 1), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    HRSRC dialog = FindResourceW(self, TEXT("#100"), RT_DIALOG);
    ASSERT_NE(dialog, nullptr);
    EXPECT_GT(SizeofResource(self, dialog), 100u);
    EXPECT_EQ(winsim_ui_set_resources(nullptr, "/nonexistent.res"), 0);
}

TEST_F(Ui, DialogAnswersAndControls) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(winsim_ui_windows(), 11u);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 10)) << "TRUE from WM_INITDIALOG focuses the first tab stop";
    // Colour messages answer the procedure's value itself, others DWLP_MSGRESULT.
    EXPECT_EQ(SendMessageW(dialog, WM_CTLCOLORBTN, 0, 0), 0x1234);
    NMHDR note = {};
    EXPECT_EQ(SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note)), 77);
    EXPECT_EQ(GetDlgItem(dialog, 99), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));

    SendDlgItemMessageW(dialog, 10, EM_LIMITTEXT, 3, 0);
    ShowWindow(dialog, SW_SHOW);
    ASSERT_TRUE(winsim_ui_type(dialog, 10, "12345"));
    char text[16] = {};
    winsim_ui_text(dialog, 10, text, sizeof(text));
    EXPECT_STREQ(text, "123") << "a user cannot type past the limit";
    EXPECT_TRUE(Heard(10, EN_CHANGE));
    // Disabling the field that has the focus takes the focus away, which the field reports.
    EnableWindow(GetDlgItem(dialog, 10), FALSE);
    EXPECT_TRUE(Heard(10, EN_KILLFOCUS));
    EXPECT_EQ(GetFocus(), nullptr);

    ASSERT_TRUE(winsim_ui_click(dialog, 12));
    EXPECT_EQ(winsim_ui_checked(dialog, 12), BST_CHECKED);
    ASSERT_TRUE(winsim_ui_click(dialog, 13));
    EXPECT_EQ(winsim_ui_checked(dialog, 12), BST_CHECKED) << "another group is not touched";
    ASSERT_TRUE(winsim_ui_click(dialog, 11));
    EXPECT_EQ(winsim_ui_checked(dialog, 12), BST_UNCHECKED);
    EXPECT_FALSE(winsim_ui_click(dialog, 16)) << "a disabled button cannot be clicked";

    HWND list = GetDlgItem(dialog, 15);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TEXT("b")));
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TEXT("a")));
    EXPECT_EQ(winsim_ui_list_text(dialog, 15, 0, text, sizeof(text)), 1);
    EXPECT_STREQ(text, "a") << "a sorted list";
    ASSERT_TRUE(winsim_ui_choose(dialog, 15, 1));
    EXPECT_TRUE(Heard(15, CBN_SELCHANGE));
    EXPECT_EQ(SendMessageW(list, CB_DELETESTRING, 1, 0), 1);
    EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), CB_ERR) << "deleting the selection leaves none";

    // Owner-drawn buttons ask for their brush, then are drawn by the dialog.
    winsim_ui_paint(dialog);
    EXPECT_EQ(winsim_ui_paint_brush(dialog, 17), reinterpret_cast<void*>(0x1234));
    EXPECT_TRUE(DestroyWindow(dialog));
    EXPECT_TRUE(heard.destroyed);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(Ui, ModalDialogsAndMessageBoxes) {
    HWND owner = Open();
    ShowWindow(owner, SW_SHOW);
    bool ownerDisabled = false;
    auto check = [](void* dialog, void* flag) {
        *static_cast<bool*>(flag) = !IsWindowEnabled(GetParent(static_cast<HWND>(dialog)));
        winsim_ui_click(dialog, IDOK);
    };
    winsim_ui_on_modal(check, &ownerDisabled);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kDialog), owner, Proc, 0), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    // Nobody answers: Esc.
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kDialog), owner, Proc, 0), IDCANCEL);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kDialog + 1), owner, Proc, 0), -1);

    const struct {
        UINT type;
        int answer;
    } boxes[] = {{MB_OK, IDOK}, {MB_YESNO, IDYES}, {MB_YESNO | MB_DEFBUTTON2, IDNO}, {MB_OKCANCEL, IDOK}};
    for (const auto& box : boxes) {
        EXPECT_EQ(MessageBoxW(owner, TEXT("Sure?"), TEXT("Title"), box.type), box.answer) << box.type;
    }
    winsim_ui_queue_answer(IDCANCEL);
    EXPECT_EQ(MessageBoxW(owner, TEXT("Sure?"), TEXT("Title"), MB_OKCANCEL), IDCANCEL);
    char text[16] = {};
    char caption[16] = {};
    ASSERT_EQ(winsim_ui_message_count(), 5u);
    winsim_ui_message(4, text, sizeof(text), caption, sizeof(caption), nullptr);
    EXPECT_STREQ(text, "Sure?");
    EXPECT_STREQ(caption, "Title");
    DestroyWindow(owner);
}

// A page that takes every notice without objection.
INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// A sheet function with one page, in the order the library calls it.
LONG SheetFunction(PROPSHEETUI_INFO* info, LPARAM) {
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        PROPSHEETPAGEW page = {};
        page.dwSize = sizeof(page);
        page.pszTemplate = MAKEINTRESOURCEW(kDialog);
        page.pfnDlgProc = PageProc;
        HPROPSHEETPAGE made = CreatePropertySheetPageW(&page);
        return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_HPROPSHEETPAGE,
                                     reinterpret_cast<LPARAM>(made), 0) != 0;
    }
    return 1;
}

TEST_F(Ui, PropertySheetOrder) {
    auto user = [](void* sheet, void*) { winsim_ui_sheet_press(sheet, IDOK); };
    winsim_ui_on_sheet(user, nullptr);
    DWORD result = 99;
    EXPECT_EQ(CommonPropertySheetUIW(nullptr, SheetFunction, 0, &result), CPSUI_OK);
    std::vector<std::string> log;
    char line[128];
    for (size_t i = 0; i < winsim_ui_sheet_log_size(); ++i) {
        winsim_ui_sheet_log_line(i, line, sizeof(line));
        log.emplace_back(line);
    }
    const std::vector<std::string> expected = {"open",
                                               "add page 0",
                                               "reason INIT -> 1",
                                               "reason GET_INFO_HEADER -> 1",
                                               "page 0 created",
                                               "page 0 SETACTIVE",
                                               "page 0 KILLACTIVE",
                                               "page 0 APPLY",
                                               "reason DESTROY -> 1",
                                               "closed 1"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(winsim_ui_sheet_page_objects(), 0u) << "the library destroys the pages it was given";
}

} // namespace
