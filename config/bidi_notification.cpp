// Reading a bidi notification: the XML text a printer sends through the spooler, in either of its two forms,
// becomes schema-value records. The text comes from a device and is not trusted: paths that do not fit a
// record are dropped, text values are cut to what a record holds, numbers saturate, and the element tree is
// walked without recursion however deep it nests.
//
//   <bidi:Notification xmlns:bidi="..."><Schema name="\Printer.Configuration.Paper:Tray1">
//     <BIDI_INT>12</BIDI_INT></Schema></bidi:Notification>
//   <bidi:Schema xmlns:bidi="..."><Property name="Printer"><Property name="Configuration">
//     <Property name="Paper"><Value name="Tray1" type="BIDI_INT">12</Value></Property>...
#include "bidi.h"

#include "com_classes.h"
#include "com_ptr.h"
#include "wstr.h"

#include <msxml2.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using WString = std::basic_string<WCHAR>;

struct BidiTypeName {
    const WCHAR* Name;
    DWORD Type;
};
constexpr BidiTypeName kBidiTypeNames[] = {
    {TEXT("BIDI_NULL"), BIDI_NULL}, {TEXT("BIDI_INT"), BIDI_INT},       {TEXT("BIDI_FLOAT"), BIDI_FLOAT},
    {TEXT("BIDI_BOOL"), BIDI_BOOL}, {TEXT("BIDI_STRING"), BIDI_STRING}, {TEXT("BIDI_TEXT"), BIDI_TEXT},
    {TEXT("BIDI_ENUM"), BIDI_ENUM}, {TEXT("BIDI_BLOB"), BIDI_BLOB},
};

// The type a name stands for, or -1.
LONG TypeFromName(const WString& name) {
    for (const BidiTypeName& t : kBidiTypeNames) {
        if (WStrEqualNoCase(name.c_str(), t.Name)) {
            return static_cast<LONG>(t.Type);
        }
    }
    return -1;
}

// A decimal integer as the C library reads one: leading blanks, a sign, digits up to the first other
// character. Out-of-range values stop at the nearest limit.
LONG ParseDecimal(const WString& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == TEXT(' ') || (text[i] >= TEXT('\t') && text[i] <= TEXT('\r')))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == TEXT('-') || text[i] == TEXT('+'))) {
        negative = text[i] == TEXT('-');
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= TEXT('0') && text[i] <= TEXT('9'); ++i) {
        value = value * 10 + (text[i] - TEXT('0'));
        if (value > static_cast<int64_t>(INT32_MAX) + 1) {
            value = static_cast<int64_t>(INT32_MAX) + 1;
        }
    }
    value = negative ? -value : value;
    return value > INT32_MAX ? INT32_MAX : (value < INT32_MIN ? INT32_MIN : static_cast<LONG>(value));
}

bool StartsWithNoCase(const WString& text, const WCHAR* prefix) {
    const size_t n = WStrLen(prefix);
    return text.size() >= n && WStrEqualNoCase(text.substr(0, n).c_str(), prefix);
}

// A BSTR answer as a string; a BSTR may hold zeros, so its own length counts.
WString FromBstr(const Bstr& s) {
    return s.get() ? WString(s.get(), s.Length()) : WString();
}

HRESULT NodeName(IXMLDOMNode* node, WString* name) {
    Bstr s;
    const HRESULT hr = node->get_nodeName(s.Put());
    *name = SUCCEEDED(hr) ? FromBstr(s) : WString();
    return hr;
}

HRESULT NodeText(IXMLDOMNode* node, WString* text) {
    Bstr s;
    const HRESULT hr = node->get_text(s.Put());
    *text = SUCCEEDED(hr) ? FromBstr(s) : WString();
    return hr;
}

// Whether node is an element, and which of names (ignoring case) it bears: *which is -1 for none.
HRESULT ElementNamed(IXMLDOMNode* node, std::initializer_list<const WCHAR*> names, bool* element,
                     int* which) {
    *which = -1;
    DOMNodeType type = NODE_INVALID;
    HRESULT hr = node->get_nodeType(&type);
    *element = SUCCEEDED(hr) && type == NODE_ELEMENT;
    if (!*element) {
        return hr;
    }
    WString name;
    if (FAILED(hr = NodeName(node, &name))) {
        return hr;
    }
    int i = 0;
    for (const WCHAR* candidate : names) {
        if (WStrEqualNoCase(name.c_str(), candidate)) {
            *which = i;
        }
        ++i;
    }
    return hr;
}

// An attribute of an element, its name compared ignoring case. S_FALSE when the element has none.
HRESULT Attribute(IXMLDOMNode* element, const WCHAR* name, WString* value) {
    value->clear();
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    HRESULT hr = element->get_attributes(attributes.Put());
    if (hr != S_OK || !attributes) {
        return FAILED(hr) ? hr : S_FALSE;
    }
    LONG count = 0;
    if (FAILED(hr = attributes->get_length(&count))) {
        return hr;
    }
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> attribute;
        hr = attributes->get_item(i, attribute.Put());
        if (hr != S_OK || !attribute) {
            return FAILED(hr) ? hr : S_FALSE;
        }
        WString attributeName;
        if (FAILED(hr = NodeName(attribute.get(), &attributeName))) {
            return hr;
        }
        if (WStrEqualNoCase(attributeName.c_str(), name)) {
            return NodeText(attribute.get(), value);
        }
    }
    return S_FALSE;
}

// The records being filled, at most capacity of them.
class RecordSink {
  public:
    RecordSink(BIDIVALUE* records, DWORD capacity) : records_(records), capacity_(capacity) {}
    bool Full() const { return count_ >= capacity_; }
    DWORD Count() const { return count_; }

    // A path longer than a record holds names no value this driver knows, and a cut-down path could name
    // another one: such a value makes no record.
    void Add(const WString& path, DWORD type, DWORD number, const WString* text) {
        if (Full() || path.size() >= kBidiPathChars) {
            return;
        }
        BIDIVALUE& r = records_[count_++];
        std::memcpy(r.Path, path.data(), path.size() * sizeof(WCHAR));
        r.Type = type;
        if (text) {
            // Text is cut to what the value field holds, and stays terminated.
            const size_t chars = text->size() < kBidiTextChars - 1 ? text->size() : kBidiTextChars - 1;
            std::memcpy(r.Value, text->data(), chars * sizeof(WCHAR));
        } else {
            std::memcpy(r.Value, &number, sizeof(number));
        }
    }

  private:
    BIDIVALUE* records_;
    DWORD capacity_;
    DWORD count_ = 0;
};

HRESULT Children(IXMLDOMNode* node, ComPtr<IXMLDOMNodeList>* list, LONG* length) {
    *length = 0;
    HRESULT hr = node->get_childNodes(list->Put());
    if (FAILED(hr) || !*list) {
        return FAILED(hr) ? hr : E_POINTER;
    }
    return (*list)->get_length(length);
}

// <bidi:Notification>: each <schema name="path"> child holds one typed value as its first child.
void ReadNotificationForm(IXMLDOMNode* root, RecordSink* sink) {
    ComPtr<IXMLDOMNodeList> children;
    LONG length = 0;
    if (FAILED(Children(root, &children, &length))) {
        return;
    }
    for (LONG i = 0; i < length && !sink->Full(); ++i) {
        ComPtr<IXMLDOMNode> child;
        if (children->get_item(i, child.Put()) != S_OK || !child) {
            return;
        }
        bool element = false;
        int which = -1;
        WString path;
        HRESULT hr = ElementNamed(child.get(), {TEXT("schema")}, &element, &which);
        if (FAILED(hr)) {
            return;
        }
        if (which < 0) {
            continue;
        }
        if (FAILED(hr = Attribute(child.get(), TEXT("name"), &path))) {
            return;
        }
        if (hr != S_OK) {
            continue;
        }
        ComPtr<IXMLDOMNode> typed;
        if (FAILED(hr = child->get_firstChild(typed.Put()))) {
            return;
        }
        if (hr != S_OK || !typed) {
            continue;
        }
        WString typeName;
        WString text;
        if (FAILED(NodeName(typed.get(), &typeName)) || FAILED(NodeText(typed.get(), &text))) {
            return;
        }
        switch (TypeFromName(typeName)) {
        case BIDI_INT:
            sink->Add(path, BIDI_INT, static_cast<DWORD>(ParseDecimal(text)), nullptr);
            break;
        case BIDI_BOOL:
            sink->Add(path, BIDI_BOOL, StartsWithNoCase(text, TEXT("true")) ? 1 : 0, nullptr);
            break;
        case BIDI_STRING:
        case BIDI_TEXT:
            sink->Add(path, static_cast<DWORD>(TypeFromName(typeName)), 0, &text);
            break;
        default:
            break; // any other type makes no record
        }
    }
}

// One <value>, <const> or <installed> element of the schema form.
HRESULT ReadSchemaValue(IXMLDOMNode* element, bool installed, const WString& propertyPath, RecordSink* sink) {
    WString name;
    HRESULT hr = Attribute(element, TEXT("name"), &name);
    if (hr != S_OK) {
        return hr;
    }
    WString typeName;
    if (FAILED(hr = Attribute(element, TEXT("type"), &typeName))) {
        return hr;
    }
    const LONG type = installed ? static_cast<LONG>(BIDI_BOOL) : TypeFromName(typeName);
    if (type < 0) {
        return S_FALSE;
    }
    WString text;
    if (FAILED(hr = Attribute(element, TEXT("value"), &text))) {
        return hr;
    }
    if (hr != S_OK && FAILED(hr = NodeText(element, &text))) {
        return hr;
    }
    WString path = propertyPath + TEXT(":") + name;
    path[0] = TEXT('\\');
    if (type == BIDI_INT) {
        sink->Add(path, BIDI_INT, static_cast<DWORD>(ParseDecimal(text)), nullptr);
    } else if (type == BIDI_BOOL) {
        sink->Add(path, BIDI_BOOL, WStrEqualNoCase(text.c_str(), TEXT("TRUE")) ? 1 : 0, nullptr);
    } else if (type == BIDI_STRING || type == BIDI_TEXT) {
        sink->Add(path, static_cast<DWORD>(type), 0, &text);
    } else {
        sink->Add(path, static_cast<DWORD>(type), 0, nullptr);
    }
    return S_OK;
}

// <bidi:Schema>: properties nest, each adding "." and its name to the path of what lies inside it; values
// are leaves named "\" + path + ":" + name. Walked depth first with a stack of its own.
void ReadSchemaForm(IXMLDOMNode* root, RecordSink* sink) {
    struct Level {
        ComPtr<IXMLDOMNodeList> children;
        LONG length = 0;
        LONG next = 0;
        size_t pathLength = 0; // the property path of this level's children
    };
    std::vector<Level> levels(1);
    WString path;
    if (FAILED(Children(root, &levels[0].children, &levels[0].length))) {
        return;
    }
    while (!levels.empty() && !sink->Full()) {
        Level& level = levels.back();
        if (level.next >= level.length) {
            levels.pop_back();
            if (!levels.empty()) {
                path.resize(levels.back().pathLength);
            }
            continue;
        }
        ComPtr<IXMLDOMNode> child;
        if (level.children->get_item(level.next++, child.Put()) != S_OK || !child) {
            return;
        }
        bool element = false;
        int which = -1;
        if (FAILED(ElementNamed(
                child.get(),
                {TEXT("property"), TEXT("indexedproperty"), TEXT("value"), TEXT("const"), TEXT("installed")},
                &element, &which))) {
            return;
        }
        if (!element) {
            continue;
        }
        if (which >= 2) {
            if (FAILED(ReadSchemaValue(child.get(), which == 4, path, sink))) {
                return;
            }
            continue;
        }
        if (which >= 0) {
            WString name;
            if (FAILED(Attribute(child.get(), TEXT("name"), &name))) {
                return;
            }
            path += TEXT(".");
            path += name;
        }
        // `level` may move when the stack grows; nothing below uses it.
        Level inner;
        inner.pathLength = path.size();
        if (FAILED(Children(child.get(), &inner.children, &inner.length))) {
            return;
        }
        levels.push_back(std::move(inner));
    }
}

} // namespace

DWORD ReadBidiNotification(LPCWSTR text, DWORD capacity, GlobalBuffer* out) {
    out->Free();
    // The product stays within 32 bits, so it cannot wrap in a 32-bit build either.
    if (!text || capacity == 0 || capacity > MAXDWORD / sizeof(BIDIVALUE) ||
        !out->Allocate(capacity * sizeof(BIDIVALUE))) {
        return 0;
    }
    ComPtr<IXMLDOMDocument> document;
    Bstr xml(SysAllocString(text));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ComPtr<IXMLDOMElement> root;
    WString rootName;
    if (FAILED(CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument,
                                document.PutVoid())) ||
        !xml.get() || document->loadXML(xml.get(), &loaded) != S_OK || loaded != VARIANT_TRUE ||
        document->get_documentElement(root.Put()) != S_OK || !root ||
        FAILED(NodeName(root.get(), &rootName)) || rootName.empty()) {
        out->Free();
        return 0;
    }
    RecordSink sink(out->as<BIDIVALUE>(), capacity);
    if (WStrEqualNoCase(rootName.c_str(), TEXT("bidi:Notification"))) {
        ReadNotificationForm(root.get(), &sink);
    } else if (WStrEqualNoCase(rootName.c_str(), TEXT("bidi:Schema"))) {
        ReadSchemaForm(root.get(), &sink);
    }
    if (sink.Count() == 0) {
        out->Free();
    }
    return sink.Count();
}
