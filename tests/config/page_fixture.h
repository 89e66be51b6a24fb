// A document sheet's page opened headless from the module's own dialog template, over a sheet record of the
// test printer's settings, and driven the way a user drives it: texts typed into fields, focus leaving them,
// buttons clicked, lists changed, the sheet's notifications.
#pragma once

#include "config_fixture.h"

#include <prsht.h>

#include <memory>
#include <string>

#include "module.h"
#include "res/resource.h"
#include "sheet_data.h"

class PageTest : public ConfigTest {
  protected:
    void SetUp() override { ConfigTest::SetUp(); }
    void TearDown() override {
        CloseFrame();
        ConfigTest::TearDown();
    }

    // A sheet record as the sheet builds it: valid, its working settings the printer's.
    void MakeSheet() {
        sheet_ = std::make_unique<SHEETDATA>();
        SHEETDATA* s = sheet_.get();
        s->Self = s;
        s->SelfEnd = s;
        s->Size = sizeof(SHEETDATA);
        s->Printer = printer_;
        for (size_t i = 0; kPrinterNameW[i]; ++i) {
            s->PrinterName[i] = kPrinterNameW[i];
        }
        s->Settings = &s->Working;
        ASSERT_EQ(
            GetDriverDevMode(&s->Working, nullptr, printer_, kPrinterNameW, GDM_COPY_WORKING, CALLER_CONFIG),
            1u);
        description_ = {};
        description_.dwSize = sizeof(description_);
        description_.lParam = reinterpret_cast<LPARAM>(s);
    }

    void Open(WORD templateId, DLGPROC proc) {
        if (!sheet_) {
            MakeSheet();
        }
        // The sheet's frame: any dialog of the module will do, it only counts the pages' change notices.
        if (!frame_) {
            frame_ = CreateDialogParamW(ThisModule(), MAKEINTRESOURCEW(IDD_NEW_LABEL), nullptr, FrameProc, 0);
            ASSERT_NE(frame_, nullptr);
            ShowWindow(frame_, SW_SHOW);
            changes_ = 0;
        }
        page_ = CreateDialogParamW(ThisModule(), MAKEINTRESOURCEW(templateId), frame_, proc,
                                   reinterpret_cast<LPARAM>(&description_));
        ASSERT_NE(page_, nullptr);
        // Shown as the sheet shows its current page, so that a user can reach its controls.
        ShowWindow(page_, SW_SHOW);
    }
    void Close() {
        if (page_) {
            DestroyWindow(page_);
            page_ = nullptr;
        }
    }
    void CloseFrame() {
        Close();
        if (frame_) {
            DestroyWindow(frame_);
            frame_ = nullptr;
        }
    }
    static INT_PTR CALLBACK FrameProc(HWND, UINT message, WPARAM, LPARAM) {
        if (message == PSM_CHANGED) {
            ++changes_;
            return TRUE;
        }
        return message == WM_INITDIALOG;
    }

    DRVDEVMODE& Rec() { return sheet_->Working; }
    LABELINFO& Current() { return Rec().Private.Labels[Rec().Private.CurrentLabel]; }

    HWND Item(int id) { return GetDlgItem(page_, id); }
    std::u16string Text(int id) {
        WCHAR text[600] = {};
        GetDlgItemTextW(page_, id, text, 600);
        return std::u16string(text);
    }
    bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }

    // Typing into a field and leaving it.
    void Type(int id, const std::u16string& text) {
        SetDlgItemTextW(page_, id, text.c_str());
        Command(id, EN_KILLFOCUS);
    }
    void Command(int id, WORD code = BN_CLICKED) {
        SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
    void SelectEntry(int id, int index) {
        SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Command(id, CBN_SELCHANGE);
    }
    LRESULT ListCount(int id) { return SendMessageW(Item(id), CB_GETCOUNT, 0, 0); }
    LRESULT Selection(int id) { return SendMessageW(Item(id), CB_GETCURSEL, 0, 0); }
    std::u16string ListText(int id, LRESULT index) {
        WCHAR text[128] = {};
        SendMessageW(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return std::u16string(text);
    }
    std::u16string SelectedText(int id) { return ListText(id, Selection(id)); }

    LRESULT Notify(UINT code) {
        NMHDR header = {};
        header.hwndFrom = GetParent(page_);
        header.code = code;
        SendMessageW(page_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        return GetWindowLongPtrW(page_, DWLP_MSGRESULT);
    }

    std::unique_ptr<SHEETDATA> sheet_;
    PROPSHEETPAGEW description_ = {};
    HWND frame_ = nullptr;
    HWND page_ = nullptr;
    static inline int changes_ = 0; // PSM_CHANGED the frame received
};
