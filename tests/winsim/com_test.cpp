// COM as winsim gives it: per-thread apartments, the classes CoCreateInstance makes, BSTRs and task memory
// counted, the bidi objects answering from the host's values, and the XML document object.
#include "winsim_test.h"

#include <bidispl.h>
#include <msxml2.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstring>
#include <string>

namespace {

class Com : public WinsimTest {
  protected:
    void SetUp() override {
        WinsimTest::SetUp();
        objects_ = winsim_com_objects();
        allocations_ = winsim_com_allocations();
    }
    void TearDown() override {
        EXPECT_EQ(winsim_com_objects(), objects_);
        EXPECT_EQ(winsim_com_allocations(), allocations_);
        EXPECT_EQ(winsim_com_initialized(), 0u);
        WinsimTest::TearDown();
    }
    template <class T> T* Create(REFCLSID clsid, REFIID iid) {
        void* p = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, &p), S_OK);
        return static_cast<T*>(p);
    }
    uint32_t objects_ = 0;
    uint32_t allocations_ = 0;
};

TEST_F(Com, ApartmentsAreCountedPerThread) {
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_BidiSpl, nullptr, CLSCTX_INPROC_SERVER, IID_IBidiSpl, &p),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(winsim_com_initialized(), 2u);
    int dummy = 0;
    EXPECT_EQ(CoInitializeEx(&dummy, COINIT_MULTITHREADED), E_INVALIDARG);

    EXPECT_EQ(CoCreateInstance(IID_IBidiSpl, nullptr, CLSCTX_INPROC_SERVER, IID_IBidiSpl, &p),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_BidiSpl, nullptr, CLSCTX_LOCAL_SERVER, IID_IBidiSpl, &p),
              REGDB_E_CLASSNOTREG);
    IUnknown* outer = reinterpret_cast<IUnknown*>(&dummy);
    EXPECT_EQ(CoCreateInstance(CLSID_BidiSpl, outer, CLSCTX_INPROC_SERVER, IID_IBidiSpl, &p),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_BidiSpl, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument, &p),
              E_NOINTERFACE);
    EXPECT_EQ(winsim_com_objects(), objects_) << "the object made for a missing interface is gone";

    IBidiSpl* spl = Create<IBidiSpl>(CLSID_BidiSpl, IID_IBidiSpl);
    ASSERT_NE(spl, nullptr);
    EXPECT_EQ(winsim_com_objects(), objects_ + 1);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(spl->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 1u);
    EXPECT_EQ(spl->Release(), 0u);
    EXPECT_EQ(winsim_com_objects(), objects_);

    winsim_fail_calls_with("CoCreateInstance", 0, 1, static_cast<uint32_t>(E_ACCESSDENIED));
    EXPECT_EQ(CoCreateInstance(CLSID_BidiSpl, nullptr, CLSCTX_INPROC_SERVER, IID_IBidiSpl, &p),
              E_ACCESSDENIED);
    CoUninitialize();
    CoUninitialize();
    CoUninitialize(); // unmatched: nothing happens
}

TEST_F(Com, StringsAndTaskMemory) {
    const char16_t text[] = u"ab\0cd";
    BSTR s = SysAllocStringLen(text, 5);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 5u);
    EXPECT_EQ(SysStringByteLen(s), 10u);
    DWORD prefix;
    std::memcpy(&prefix, reinterpret_cast<BYTE*>(s) - 4, 4);
    EXPECT_EQ(prefix, 10u) << "the byte length lies before the first character";
    EXPECT_EQ(s[5], 0) << "and a NUL after the last";
    EXPECT_EQ(winsim_com_allocations(), allocations_ + 1);
    BSTR t = SysAllocString(text);
    EXPECT_EQ(SysStringLen(t), 2u) << "SysAllocString stops at the first NUL";
    SysFreeString(t);
    SysFreeString(s);
    SysFreeString(nullptr);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);

    void* block = CoTaskMemAlloc(16);
    ASSERT_NE(block, nullptr);
    int local = 0;
    CoTaskMemFree(&local); // not task memory: left alone
    EXPECT_EQ(winsim_com_allocations(), allocations_ + 1);
    CoTaskMemFree(block);
    winsim_fail_next("CoTaskMemAlloc", 1);
    EXPECT_EQ(CoTaskMemAlloc(16), nullptr);

    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(u"x");
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST_F(Com, BidiAnswersFromTheHostsValues) {
    ASSERT_EQ(winsim_add_printer("P", "KT", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL), 1);
    const LONG one = 1;
    ASSERT_EQ(winsim_set_bidi_value("P", "\\Printer.A:X", BIDI_INT, &one, 4), 1);
    ASSERT_EQ(winsim_set_bidi_value("P", "\\Other:Y", BIDI_BLOB, "ab", 2), 1);
    EXPECT_EQ(winsim_set_bidi_value("Q", "\\x", BIDI_INT, &one, 4), 0);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    IBidiSpl* spl = Create<IBidiSpl>(CLSID_BidiSpl, IID_IBidiSpl);
    IBidiRequest* request = Create<IBidiRequest>(CLSID_BidiRequest, IID_IBidiRequest);
    ASSERT_TRUE(spl && request);
    EXPECT_EQ(spl->SendRecv(BIDI_ACTION_GET, request), E_HANDLE) << "not bound";
    EXPECT_EQ(spl->UnbindDevice(), E_HANDLE);
    EXPECT_EQ(spl->BindDevice(u"Q", BIDI_ACCESS_USER), HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(spl->BindDevice(u"P", 7), E_INVALIDARG);
    ASSERT_EQ(spl->BindDevice(u"p", BIDI_ACCESS_ADMINISTRATOR), S_OK) << "printer names ignore case";

    ASSERT_EQ(request->SetSchema(u"\\Printer"), S_OK);
    ASSERT_EQ(spl->SendRecv(BIDI_ACTION_ENUM_SCHEMA, request), S_OK);
    DWORD count = 0;
    ASSERT_EQ(request->GetEnumCount(&count), S_OK);
    ASSERT_EQ(count, 1u);
    LPWSTR schema = nullptr;
    DWORD type = 0;
    BYTE* data = nullptr;
    ULONG size = 0;
    ASSERT_EQ(request->GetOutputData(0, &schema, &type, &data, &size), S_OK);
    EXPECT_EQ(std::u16string(schema), u"\\Printer");
    EXPECT_EQ(type, static_cast<DWORD>(BIDI_STRING));
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(data)), u"\\Printer.A:X");
    EXPECT_EQ(size, 26u) << "the path with its NUL";
    CoTaskMemFree(schema);
    CoTaskMemFree(data);
    EXPECT_EQ(request->GetOutputData(1, &schema, &type, &data, &size), E_INVALIDARG);

    // A schema the printer lacks: the call succeeds, the request carries the error and no results.
    ASSERT_EQ(request->SetSchema(u"\\Printer.A:Z"), S_OK);
    ASSERT_EQ(spl->SendRecv(BIDI_ACTION_GET, request), S_OK);
    HRESULT result = S_OK;
    ASSERT_EQ(request->GetResult(&result), S_OK);
    EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_BIDI_SCHEMA_NOT_SUPPORTED));
    ASSERT_EQ(request->GetEnumCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(spl->SendRecv(u"Other", request), E_INVALIDARG);

    EXPECT_EQ(spl->UnbindDevice(), S_OK);
    request->Release();
    spl->Release();
    CoUninitialize();
    char line[256];
    winsim_log_line(1, line, sizeof(line));
    EXPECT_STREQ(line, "CoCreateInstance class=BidiRequest context=0x1");
}

TEST_F(Com, XmlDocumentLoadsAsMsxmlDoes) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    IXMLDOMDocument* doc = Create<IXMLDOMDocument>(CLSID_DOMDocument30, IID_IXMLDOMDocument);
    ASSERT_NE(doc, nullptr);
    const struct {
        const char16_t* Text;
        bool Loads;
    } cases[] = {
        {u"<a/>", true},
        {u"", false},
        {u"<a>", false},
        {u"<a/><b/>", false},
        {u"<p:a/>", false},
        {u"<p:a xmlns:p=\"u\"><p:b q:c=\"1\"/></p:a>", false},
        {u"<p:a xmlns:p=\"u\"><p:b xml:lang=\"ja\"/></p:a>", true},
    };
    for (const auto& c : cases) {
        BSTR xml = SysAllocString(c.Text);
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(doc->loadXML(xml, &ok), c.Loads ? S_OK : S_FALSE) << std::string(c.Text, c.Text + 3);
        EXPECT_EQ(ok, c.Loads ? VARIANT_TRUE : VARIANT_FALSE);
        SysFreeString(xml);
    }
    BSTR xml = SysAllocString(u"<r k=\"v\">\n  <e>  one <!-- c --> two  </e>\n</r>");
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(doc->loadXML(xml, &ok), S_OK);
    SysFreeString(xml);
    IXMLDOMElement* root = nullptr;
    ASSERT_EQ(doc->get_documentElement(&root), S_OK);
    doc->Release(); // nodes keep the parsed tree
    IXMLDOMNodeList* children = nullptr;
    ASSERT_EQ(root->get_childNodes(&children), S_OK);
    LONG length = 0;
    ASSERT_EQ(children->get_length(&length), S_OK);
    EXPECT_EQ(length, 1) << "whitespace-only text is dropped";
    IXMLDOMNode* e = nullptr;
    ASSERT_EQ(children->get_item(0, &e), S_OK);
    IXMLDOMNode* none = reinterpret_cast<IXMLDOMNode*>(1);
    EXPECT_EQ(children->get_item(1, &none), S_FALSE);
    EXPECT_EQ(none, nullptr);
    BSTR text = nullptr;
    ASSERT_EQ(e->get_text(&text), S_OK);
    EXPECT_EQ(std::u16string(text, SysStringLen(text)), u"one  two");
    SysFreeString(text);
    IXMLDOMNode* first = nullptr;
    ASSERT_EQ(e->get_firstChild(&first), S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(first->get_nodeName(&name), S_OK);
    EXPECT_EQ(std::u16string(name), u"#text");
    SysFreeString(name);
    IXMLDOMNamedNodeMap* attributes = reinterpret_cast<IXMLDOMNamedNodeMap*>(1);
    EXPECT_EQ(first->get_attributes(&attributes), S_FALSE) << "only elements have attributes";
    EXPECT_EQ(attributes, nullptr);
    ASSERT_EQ(root->get_attributes(&attributes), S_OK);
    IXMLDOMNode* k = nullptr;
    ASSERT_EQ(attributes->get_item(0, &k), S_OK);
    ASSERT_EQ(k->get_text(&text), S_OK);
    EXPECT_EQ(std::u16string(text), u"v");
    SysFreeString(text);
    DOMNodeType type = NODE_INVALID;
    ASSERT_EQ(k->get_nodeType(&type), S_OK);
    EXPECT_EQ(type, NODE_ATTRIBUTE);
    for (IUnknown* object : std::initializer_list<IUnknown*>{k, attributes, first, e, children, root}) {
        object->Release();
    }
    CoUninitialize();
}

TEST_F(Com, JobsAndPublishingAsTheSpoolerRecordsThem) {
    ASSERT_EQ(winsim_add_printer("P", "KT", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL), 1);
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(u"P"), &h, &all));
    PRINTER_INFO_7W publish = {nullptr, DSPRINT_UPDATE};
    ASSERT_TRUE(SetPrinterW(h, 7, reinterpret_cast<LPBYTE>(&publish), 0));
    char line[256];
    winsim_log_line(winsim_log_size() - 1, line, sizeof(line));
    EXPECT_STREQ(line, "SetPrinterW printer=P level=7 command=0 guid=(null) action=0x00000002");
    WCHAR doc[] = u"文書";
    DOC_INFO_1W info = {doc, nullptr, nullptr};
    ASSERT_NE(StartDocPrinterW(h, 1, reinterpret_cast<LPBYTE>(&info)), 0u);
    char document[32];
    char datatype[4];
    int ended = -1;
    ASSERT_EQ(winsim_job_info("P", 0, document, sizeof(document), datatype, sizeof(datatype), &ended), 1);
    EXPECT_STREQ(document, "文書");
    EXPECT_STREQ(datatype, "RAW") << "the printer's data type, cut to the buffer";
    EXPECT_EQ(ended, 0);
    ASSERT_TRUE(EndDocPrinter(h));
    ASSERT_EQ(winsim_job_info("P", 0, nullptr, 0, nullptr, 0, &ended), 1);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(winsim_job_info("P", 1, nullptr, 0, nullptr, 0, nullptr), 0);
    ClosePrinter(h);
}

} // namespace
