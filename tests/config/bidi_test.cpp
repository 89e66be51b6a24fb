// The bidi channel: notifications read in both forms with their limits, tray updates from notifications,
// schema queries, and every COM call failing in turn without anything left behind.
#include "bidi_fixture.h"

#include "wstr.h"

#include <iterator>

namespace {

std::u16string Path(const BIDIVALUE& r) {
    return std::u16string(reinterpret_cast<const char16_t*>(r.Path));
}

class Notifications : public BidiTest {};

TEST_F(Notifications, NotificationForm) {
    GlobalBuffer out;
    const std::u16string text =
        Notification(Schema(u"\\Printer.Configuration.Paper:Tray1", u"BIDI_INT", u"12") +
                     Schema(u"\\Printer.Status:Online", u"bidi_bool", u"TrueEnough") +
                     Schema(u"\\Printer.Status:Cover", u"BIDI_BOOL", u"false") +
                     Schema(u"\\Printer.Name", u"BIDI_STRING", u"KT-508") +
                     Schema(u"\\Printer.Speed", u"BIDI_FLOAT", u"2.5") +
                     u"<!-- a comment --><other name=\"\\x\"><BIDI_INT>1</BIDI_INT></other>" +
                     u"<SCHEMA NAME=\"\\Printer.Text\"><BIDI_TEXT>  padded  </BIDI_TEXT></SCHEMA>");
    ASSERT_EQ(Read(text, &out), 5u);
    const BIDIVALUE* r = out.as<BIDIVALUE>();
    EXPECT_EQ(Path(r[0]), u"\\Printer.Configuration.Paper:Tray1");
    EXPECT_EQ(r[0].Type, static_cast<DWORD>(BIDI_INT));
    EXPECT_EQ(BidiValueNumber(r[0]), 12u);
    EXPECT_EQ(r[1].Type, static_cast<DWORD>(BIDI_BOOL));
    EXPECT_EQ(BidiValueNumber(r[1]), 1u) << "text that begins with true, in any case";
    EXPECT_EQ(BidiValueNumber(r[2]), 0u);
    EXPECT_EQ(r[3].Type, static_cast<DWORD>(BIDI_STRING));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(r[3].Value)), u"KT-508");
    EXPECT_EQ(Path(r[4]), u"\\Printer.Text") << "a float makes no record; names ignore case";
    EXPECT_EQ(r[4].Type, static_cast<DWORD>(BIDI_TEXT));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(r[4].Value)), u"padded");
}

TEST_F(Notifications, SchemaForm) {
    GlobalBuffer out;
    const std::u16string text =
        u"<bidi:Schema xmlns:bidi=\"http://schemas.microsoft.com/windows/2005/03/printing/bidi\">"
        u"<Property name=\"Printer\"><Property name=\"Configuration\"><Property name=\"Paper\">"
        u"<Value name=\"Tray1\" type=\"BIDI_INT\">7</Value>"
        u"<value name=\"Tray2\" type=\"BIDI_INT\" value=\"-3\">99</value>"
        u"</Property><IndexedProperty name=\"Bin\"><Const name=\"Full\" type=\"BIDI_BOOL\">true</Const>"
        u"</IndexedProperty><Installed name=\"Cutter\">TRUE</Installed></Property></Property>"
        u"<Value name=\"Top\" type=\"BIDI_STRING\">here</Value></bidi:Schema>";
    ASSERT_EQ(Read(text, &out), 5u);
    const BIDIVALUE* r = out.as<BIDIVALUE>();
    EXPECT_EQ(Path(r[0]), u"\\Printer.Configuration.Paper:Tray1");
    EXPECT_EQ(BidiValueNumber(r[0]), 7u);
    EXPECT_EQ(Path(r[1]), u"\\Printer.Configuration.Paper:Tray2");
    EXPECT_EQ(static_cast<LONG>(BidiValueNumber(r[1])), -3) << "the value attribute wins over the text";
    EXPECT_EQ(Path(r[2]), u"\\Printer.Configuration.Bin:Full");
    EXPECT_EQ(r[2].Type, static_cast<DWORD>(BIDI_BOOL));
    EXPECT_EQ(BidiValueNumber(r[2]), 1u);
    EXPECT_EQ(Path(r[3]), u"\\Printer.Configuration:Cutter");
    EXPECT_EQ(r[3].Type, static_cast<DWORD>(BIDI_BOOL)) << "installed is always a boolean";
    EXPECT_EQ(BidiValueNumber(r[3]), 1u);
    EXPECT_EQ(Path(r[4]), u"\\Top");
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(r[4].Value)), u"here");
}

TEST_F(Notifications, AtMostFiveRecords) {
    std::u16string schemas;
    for (int i = 0; i < 7; ++i) {
        schemas += Schema(u"\\P:" + std::u16string(1, static_cast<char16_t>(u'a' + i)), u"BIDI_INT",
                          std::u16string(1, static_cast<char16_t>(u'0' + i)));
        if (i == 1) {
            schemas += Schema(u"\\P:skipped", u"BIDI_BLOB", u"00");
        }
    }
    GlobalBuffer out;
    ASSERT_EQ(Read(Notification(schemas), &out), 5u);
    ASSERT_EQ(out.size(), 5 * sizeof(BIDIVALUE)) << "room for five records, no more";
    const BIDIVALUE* r = out.as<BIDIVALUE>();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(BidiValueNumber(r[i]), static_cast<DWORD>(i)) << "record " << i;
    }
}

TEST_F(Notifications, LimitsOfUntrustedText) {
    const std::u16string fits(259, u'p');
    const std::u16string tooLong(260, u'p');
    const std::u16string longText(1000, u'x');
    GlobalBuffer out;
    ASSERT_EQ(Read(Notification(Schema(u"\\" + tooLong, u"BIDI_INT", u"1") + Schema(fits, u"BIDI_INT", u"2") +
                                Schema(u"\\T", u"BIDI_STRING", longText) +
                                Schema(u"\\Big", u"BIDI_INT", u"99999999999999999999") +
                                Schema(u"\\Small", u"BIDI_INT", u"  -99999999999999999999x")),
                   &out),
              4u);
    const BIDIVALUE* r = out.as<BIDIVALUE>();
    EXPECT_EQ(Path(r[0]), fits) << "a path too long for a record is dropped, one that fits is kept";
    EXPECT_EQ(BidiValueNumber(r[0]), 2u);
    EXPECT_EQ(WStrLen(reinterpret_cast<const WCHAR*>(r[1].Value), kBidiTextChars), kBidiTextChars - 1)
        << "text cut to 259 characters and terminated";
    EXPECT_EQ(static_cast<LONG>(BidiValueNumber(r[2])), INT32_MAX);
    EXPECT_EQ(static_cast<LONG>(BidiValueNumber(r[3])), INT32_MIN);

    const std::u16string nothing[] = {
        u"",
        u"not xml",
        u"<bidi:Notification>" + Schema(u"\\a", u"BIDI_INT", u"1") +
            u"</bidi:Notification>", // undeclared prefix
        u"<Other>" + Schema(u"\\a", u"BIDI_INT", u"1") + u"</Other>",
        Notification(Schema(u"\\a", u"BIDI_INT", u"1")) + u"<second/>",
        Notification(u"<Schema><BIDI_INT>1</BIDI_INT></Schema><Schema name=\"\\a\"/>"),
    };
    for (const std::u16string& text : nothing) {
        GlobalBuffer none;
        EXPECT_EQ(Read(text, &none), 0u) << "case " << (&text - nothing);
        EXPECT_FALSE(none) << "nothing read, nothing kept";
    }
    GlobalBuffer none;
    EXPECT_EQ(ReadBidiNotification(
                  reinterpret_cast<const WCHAR*>(Notification(Schema(u"\\a", u"BIDI_INT", u"1")).c_str()),
                  kNotificationRecords, &none),
              0u)
        << "without COM on the thread the XML object cannot be made";
}

TEST_F(Notifications, DeepNestingIsWalkedWithoutRecursion) {
    std::u16string text = u"<bidi:Schema xmlns:bidi=\"b\">";
    const int depth = 20000;
    for (int i = 0; i < depth; ++i) {
        text += u"<Property name=\"p\">";
    }
    text += u"<Value name=\"v\" type=\"BIDI_INT\">5</Value>";
    for (int i = 0; i < depth; ++i) {
        text += u"</Property>";
    }
    text += u"</bidi:Schema>";
    GlobalBuffer out;
    EXPECT_EQ(Read(text, &out), 0u) << "the path grew past what a record holds";
}

class Trays : public BidiTest {};

TEST_F(Trays, NotificationWithAKnownCodeUpdatesAndRepublishes) {
    StoreTrays(-1, -1);
    winsim_log_clear();
    // Every model record carries media code 0, so 0 is the code that matches (record 0).
    EXPECT_TRUE(Notify(Notification(Schema(u"\\Printer.Configuration.Paper:Tray1", u"BIDI_INT", u"0"))));
    const DEVICEEXT ext = StoredExtension();
    EXPECT_EQ(ext.Tray1ModelIndex, 0);
    EXPECT_EQ(ext.Tray2ModelIndex, -1);
    EXPECT_EQ(LogLineStarting("SetPrinterW"),
              "SetPrinterW printer=Label Printer level=7 command=0 guid=(null) action=0x00000002");
    EXPECT_EQ(LogLineStarting("OpenPrinterW"), "OpenPrinterW name=Label Printer access=0x000F000C");

    // Tray 2 in lower case is honoured in a notification.
    EXPECT_TRUE(Notify(Notification(Schema(u"\\printer.configuration.paper:tray2", u"BIDI_INT", u"0"))));
    EXPECT_EQ(StoredExtension().Tray2ModelIndex, 0);
    EXPECT_EQ(winsim_call_count("SetPrinterW"), 2u);
}

TEST_F(Trays, NotificationsThatChangeNothing) {
    StoreTrays(-1, -1);
    const std::u16string unchanged[] = {
        // 12 is the code of no model record: nothing is stored, nothing republished.
        Notification(Schema(u"\\Printer.Configuration.Paper:Tray1", u"BIDI_INT", u"12")),
        Notification(Schema(u"\\Printer.Configuration.Paper:Tray1", u"BIDI_STRING", u"0")),
        Notification(Schema(u"\\Printer.Configuration.Paper:Tray3", u"BIDI_INT", u"0")),
        u"<broken",
    };
    for (const std::u16string& text : unchanged) {
        EXPECT_TRUE(Notify(text));
    }
    EXPECT_EQ(StoredExtension().Tray1ModelIndex, -1);
    EXPECT_EQ(winsim_call_count("SetPrinterW"), 0u);
    EXPECT_EQ(winsim_call_count("SetPrinterDataW"), 0u);

    // The extension cannot be written: no republishing either.
    winsim_fail_calls("SetPrinterDataW", 0, 1);
    EXPECT_TRUE(Notify(Notification(Schema(u"\\Printer.Configuration.Paper:Tray1", u"BIDI_INT", u"0"))));
    EXPECT_EQ(winsim_call_count("SetPrinterW"), 0u);
}

TEST_F(Trays, MediaCodeLookupAgainstATable) {
    // The shipped tables all carry code 0; a table with other codes shows the first match wins.
    VARIANTINFO table[3] = {kVariants[0], kVariants[0], kVariants[0]};
    table[0].Model.MediaCode = 5;
    table[1].Model.MediaCode = 12;
    table[2].Model.MediaCode = 12;
    EXPECT_EQ(FindMediaCodeRecord(table, 3, 12), 1);
    EXPECT_EQ(FindMediaCodeRecord(table, 3, 5), 0);
    EXPECT_EQ(FindMediaCodeRecord(table, 3, 0), -1);
    EXPECT_EQ(FindMediaCodeRecord(table, 0, 5), -1);
    EXPECT_EQ(UpdateTrayModel(kPrinterNameW, 12, 1, true), 0) << "no match is index 0";
    EXPECT_EQ(UpdateTrayModel(kPrinterNameW, 0, 1, true), 0);
    EXPECT_EQ(winsim_call_count("OpenPrinterW"), 1u) << "a lookup opens nothing";
}

TEST_F(Trays, SchemaQueries) {
    SetInt(kTray1, 3);
    SetText(kTray2, u"stock");
    const LONG blob[200] = {1, 2, 3};
    winsim_set_bidi_value(kPrinterName, "\\Blob", BIDI_BLOB, blob, sizeof(blob));
    winsim_set_bidi_value(kPrinterName, "\\Short", BIDI_INT, blob, 2);
    winsim_set_bidi_value(kPrinterName, "\\Text", BIDI_TEXT, std::u16string(600, u'y').c_str(), 1200);
    winsim_set_bidi_value(kPrinterName, ("\\" + std::string(300, 'L')).c_str(), BIDI_INT, blob, 4);
    EXPECT_EQ(EnumerateBidiSchema(kPrinterNameW, nullptr, 0), 6u);
    BIDIVALUE records[6] = {};
    EXPECT_EQ(EnumerateBidiSchema(kPrinterNameW, records, 2), 6u) << "the count of results, filled or not";
    EXPECT_EQ(Path(records[1]), u"\\Printer.Configuration.Paper:Tray2");
    EXPECT_EQ(Path(records[2]), u"");
    EXPECT_EQ(EnumerateBidiSchema(kPrinterNameW, records, 6), 6u);
    EXPECT_EQ(Path(records[5]), u"") << "a path too long for a record leaves it empty";

    BIDIVALUE r = records[0];
    EXPECT_TRUE(GetBidiValue(kPrinterNameW, &r));
    EXPECT_EQ(r.Type, static_cast<DWORD>(BIDI_INT));
    EXPECT_EQ(BidiValueNumber(r), 3u);
    r = records[1];
    EXPECT_TRUE(GetBidiValue(kPrinterNameW, &r));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(r.Value)), u"stock");
    r = records[2];
    EXPECT_FALSE(GetBidiValue(kPrinterNameW, &r)) << "a blob is read but is no value";
    EXPECT_EQ(r.Type, static_cast<DWORD>(BIDI_BLOB));
    EXPECT_EQ(BidiValueNumber(r), 1u);
    r = records[3];
    EXPECT_FALSE(GetBidiValue(kPrinterNameW, &r)) << "an integer of two bytes";
    r = records[4];
    EXPECT_TRUE(GetBidiValue(kPrinterNameW, &r));
    EXPECT_EQ(WStrLen(reinterpret_cast<const WCHAR*>(r.Value), kBidiTextChars), kBidiTextChars - 1)
        << "unterminated device text cut to the field and terminated";
    WStrCopy(r.Path, TEXT("\\Unknown"));
    EXPECT_FALSE(GetBidiValue(kPrinterNameW, &r));
    EXPECT_FALSE(GetBidiValue(kPrinterNameW, nullptr));
    EXPECT_EQ(EnumerateBidiSchema(TEXT("No such printer"), nullptr, 0), 0u);

    // A thread that already has COM in the other model still gets its answer, and keeps its COM.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(EnumerateBidiSchema(kPrinterNameW, nullptr, 0), 6u);
    EXPECT_EQ(winsim_com_initialized(), 1u);
    CoUninitialize();
}

// Every COM call of each road fails in turn, at each of its calls: nothing may be left behind, and what is
// stored is either the whole update or nothing.
TEST_F(Trays, EveryComCallFailingInTurn) {
    const char* services[] = {"CoInitializeEx",
                              "CoCreateInstance",
                              "SysAllocString",
                              "CoTaskMemAlloc",
                              "IBidiSpl_BindDevice",
                              "IBidiSpl_SendRecv",
                              "IBidiRequest_SetSchema",
                              "IBidiRequest_GetEnumCount",
                              "IBidiRequest_GetOutputData",
                              "IXMLDOMDocument_loadXML",
                              "IXMLDOMDocument_get_documentElement",
                              "IXMLDOMNode_get_nodeName",
                              "IXMLDOMNode_get_nodeType",
                              "IXMLDOMNode_get_childNodes",
                              "IXMLDOMNode_get_firstChild",
                              "IXMLDOMNode_get_attributes",
                              "IXMLDOMNode_get_text",
                              "IXMLDOMNodeList_get_item",
                              "IXMLDOMNodeList_get_length",
                              "IXMLDOMNamedNodeMap_get_item",
                              "IXMLDOMNamedNodeMap_get_length"};
    const std::u16string note =
        Notification(Schema(u"\\Printer.Configuration.Paper:Tray1", u"BIDI_INT", u"0") +
                     Schema(u"\\Printer.Configuration.Paper:Tray2", u"BIDI_INT", u"0"));
    SetInt(kTray1, 0);
    SetInt(kTray2, 0);
    for (const bool initialise : {true, false}) {
        for (const char* service : services) {
            for (uint32_t skip = 0;; ++skip) {
                winsim_delete_printer_data(kPrinterName, "Private DevMode");
                StoreTrays(-1, -1);
                const uint32_t before = winsim_call_count(service);
                winsim_fail_calls(service, skip, 1);
                if (initialise) {
                    EXPECT_TRUE(
                        DrvPrinterEvent(const_cast<LPWSTR>(kPrinterNameW), PRINTER_EVENT_INITIALIZE, 0, 0));
                } else {
                    EXPECT_TRUE(Notify(note));
                }
                winsim_clear_faults();
                const uint32_t calls = winsim_call_count(service) - before;
                EXPECT_EQ(winsim_com_objects(), comObjects_) << service << " failing at call " << skip;
                EXPECT_EQ(winsim_com_allocations(), comAllocations_)
                    << service << " failing at call " << skip;
                EXPECT_EQ(winsim_com_initialized(), 0u) << service << " failing at call " << skip;
                const DEVICEEXT ext = StoredExtension();
                EXPECT_TRUE(ext.Tray1ModelIndex == -1 || ext.Tray1ModelIndex == 0) << service;
                if (skip >= calls) {
                    break; // the service was called fewer times than that: every call has failed once
                }
            }
        }
    }
}

} // namespace
