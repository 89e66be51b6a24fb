// Tests of the bidi channel: a printer whose stand-in answers tray values, and notification texts.
#pragma once

#include "config_fixture.h"

#include "bidi.h"
#include "com_ptr.h"
#include "tray.h"

#include <winsim_host.h>

#include <string>

inline constexpr char kTray1[] = "\\Printer.Configuration.Paper:Tray1";
inline constexpr char kTray2[] = "\\Printer.Configuration.Paper:Tray2";

class BidiTest : public ConfigTest {
  protected:
    void SetInt(const char* path, LONG value) {
        ASSERT_EQ(winsim_set_bidi_value(kPrinterName, path, BIDI_INT, &value, sizeof(value)), 1);
    }
    void SetText(const char* path, const std::u16string& text, DWORD type = BIDI_STRING) {
        ASSERT_EQ(winsim_set_bidi_value(kPrinterName, path, type, text.c_str(),
                                        static_cast<uint32_t>((text.size() + 1) * sizeof(char16_t))),
                  1);
    }
    // The notification reader on a thread with COM, as the spooler's event thread has it.
    DWORD Read(const std::u16string& text, GlobalBuffer* out) {
        ComScope com(COINIT_MULTITHREADED);
        return ReadBidiNotification(reinterpret_cast<const WCHAR*>(text.c_str()), kNotificationRecords, out);
    }
    BOOL Notify(const std::u16string& text) {
        return DrvPrinterEvent(const_cast<LPWSTR>(kPrinterNameW), PRINTER_EVENT_CONFIGURATION_UPDATE, 0,
                               reinterpret_cast<LPARAM>(text.c_str()));
    }
    // The printer's stored settings with the tray fields set as a printer sheet would leave them.
    void StoreTrays(LONG tray1, LONG tray2) {
        DRVDEVMODE rec = Settled();
        rec.Extension.Tray1ModelIndex = tray1;
        rec.Extension.Tray2ModelIndex = tray2;
        StoreDevMode(&rec, kExchangedSize);
        StoreExtension(rec.Extension);
    }
};

inline std::u16string Notification(const std::u16string& schemas) {
    return u"<bidi:Notification xmlns:bidi=\"http://schemas.microsoft.com/windows/2005/03/printing/bidi\">" +
           schemas + u"</bidi:Notification>";
}

inline std::u16string Schema(const std::u16string& path, const std::u16string& type,
                             const std::u16string& value) {
    return u"<Schema name=\"" + path + u"\"><" + type + u">" + value + u"</" + type + u"></Schema>";
}
