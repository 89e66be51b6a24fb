// The XML document object of MSXML 3.0 (CLSID_DOMDocument30) over pugixml: loadXML and the DOM walk a reader
// of a document makes (document element, child lists, first child, names, types, text, attributes). What
// the reader never reaches answers E_NOTIMPL. Each node handed out is a new COM object holding the parsed
// document alive, so nodes outlive the document object as they do on Windows.
//
// Parsing follows MSXML's defaults: whitespace-only text is dropped (preserveWhiteSpace is false), a
// document needs exactly one root element, and a name with a prefix needs that prefix declared (MSXML
// refuses "Reference to undeclared namespace prefix"). The text of an element is the text of its
// descendants, trimmed at both ends.
#include "com.h"

#include "services.h"
#include "text.h"

#include <msxml2.h>
#include <oleauto.h>

#include <pugixml.hpp>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

extern "C" {
const IID IID_IXMLDOMNode = {0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID IID_IXMLDOMDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID IID_IXMLDOMNodeList = {
    0x2933BF82, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID IID_IXMLDOMNamedNodeMap = {
    0x2933BF83, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID IID_IXMLDOMElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const CLSID CLSID_DOMDocument30 = {
    0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
}

namespace winsim {
namespace {

using Tree = std::shared_ptr<pugi::xml_document>;

// What a node object stands for: a node of a parsed tree, or one attribute of an element.
struct Target {
    Tree tree;
    pugi::xml_node node;
    pugi::xml_attribute attribute;
};

HRESULT out_string(std::string_view utf8_text, BSTR* out) {
    *out = alloc_bstr(from_utf8(utf8_text));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// The next node of a depth-first walk of the subtree under root, without recursion: untrusted documents may
// nest deeply.
pugi::xml_node next_in_subtree(pugi::xml_node n, pugi::xml_node root) {
    if (n.first_child())
        return n.first_child();
    while (n && n != root) {
        if (n.next_sibling())
            return n.next_sibling();
        n = n.parent();
    }
    return pugi::xml_node();
}

std::string text_of(const Target& t) {
    if (t.attribute)
        return t.attribute.value();
    const pugi::xml_node_type type = t.node.type();
    if (type != pugi::node_element && type != pugi::node_document)
        return t.node.value();
    std::string text;
    for (pugi::xml_node n = next_in_subtree(t.node, t.node); n; n = next_in_subtree(n, t.node)) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            text += n.value();
    }
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

IXMLDOMNode* make_node(const Tree& tree, pugi::xml_node node);
IXMLDOMNode* make_attribute(const Tree& tree, pugi::xml_attribute attribute);

#define WINSIM_NOT_IMPLEMENTED(signature)                                                                    \
    HRESULT WINAPI signature override {                                                                      \
        return E_NOTIMPL;                                                                                    \
    }

// IDispatch and IXMLDOMNode for every kind of node object.
template <class Interface> class NodeBase : public ComObject<Interface> {
  public:
    explicit NodeBase(Target target) : target_(std::move(target)) {}

    WINSIM_NOT_IMPLEMENTED(GetTypeInfoCount(UINT*))
    WINSIM_NOT_IMPLEMENTED(GetTypeInfo(UINT, LCID, ITypeInfo**))
    WINSIM_NOT_IMPLEMENTED(GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    WINSIM_NOT_IMPLEMENTED(Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))

    HRESULT WINAPI get_nodeName(BSTR* name) override {
        if (const DWORD fault = enter(Service::IXMLDOMNode_get_nodeName))
            return static_cast<HRESULT>(fault);
        if (!name)
            return E_INVALIDARG;
        if (target_.attribute)
            return out_string(target_.attribute.name(), name);
        switch (target_.node.type()) {
        case pugi::node_element:
        case pugi::node_pi:
            return out_string(target_.node.name(), name);
        case pugi::node_pcdata:
            return out_string("#text", name);
        case pugi::node_cdata:
            return out_string("#cdata-section", name);
        case pugi::node_comment:
            return out_string("#comment", name);
        case pugi::node_document:
            return out_string("#document", name);
        default:
            return out_string(target_.node.name(), name);
        }
    }
    WINSIM_NOT_IMPLEMENTED(get_nodeValue(VARIANT*))
    WINSIM_NOT_IMPLEMENTED(put_nodeValue(VARIANT))
    HRESULT WINAPI get_nodeType(DOMNodeType* type) override {
        if (const DWORD fault = enter(Service::IXMLDOMNode_get_nodeType))
            return static_cast<HRESULT>(fault);
        if (!type)
            return E_INVALIDARG;
        *type = NodeType();
        return S_OK;
    }
    HRESULT WINAPI get_parentNode(IXMLDOMNode** parent) override {
        if (!parent)
            return E_INVALIDARG;
        *parent = nullptr;
        if (target_.attribute || !target_.node.parent())
            return S_FALSE;
        *parent = make_node(target_.tree, target_.node.parent());
        return *parent ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT WINAPI get_childNodes(IXMLDOMNodeList** childList) override;
    HRESULT WINAPI get_firstChild(IXMLDOMNode** firstChild) override {
        if (const DWORD fault = enter(Service::IXMLDOMNode_get_firstChild))
            return static_cast<HRESULT>(fault);
        return Related(target_.attribute ? pugi::xml_node() : target_.node.first_child(), firstChild);
    }
    HRESULT WINAPI get_lastChild(IXMLDOMNode** lastChild) override {
        return Related(target_.attribute ? pugi::xml_node() : target_.node.last_child(), lastChild);
    }
    HRESULT WINAPI get_previousSibling(IXMLDOMNode** previousSibling) override {
        return Related(target_.attribute ? pugi::xml_node() : target_.node.previous_sibling(),
                       previousSibling);
    }
    HRESULT WINAPI get_nextSibling(IXMLDOMNode** nextSibling) override {
        return Related(target_.attribute ? pugi::xml_node() : target_.node.next_sibling(), nextSibling);
    }
    HRESULT WINAPI get_attributes(IXMLDOMNamedNodeMap** attributeMap) override;
    WINSIM_NOT_IMPLEMENTED(insertBefore(IXMLDOMNode*, VARIANT, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(replaceChild(IXMLDOMNode*, IXMLDOMNode*, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(removeChild(IXMLDOMNode*, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(appendChild(IXMLDOMNode*, IXMLDOMNode**))
    HRESULT WINAPI hasChildNodes(VARIANT_BOOL* hasChild) override {
        if (!hasChild)
            return E_INVALIDARG;
        const bool has = !target_.attribute && target_.node.first_child();
        *hasChild = has ? VARIANT_TRUE : VARIANT_FALSE;
        return has ? S_OK : S_FALSE;
    }
    WINSIM_NOT_IMPLEMENTED(get_ownerDocument(IXMLDOMDocument**))
    WINSIM_NOT_IMPLEMENTED(cloneNode(VARIANT_BOOL, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(get_nodeTypeString(BSTR*))
    HRESULT WINAPI get_text(BSTR* text) override {
        if (const DWORD fault = enter(Service::IXMLDOMNode_get_text))
            return static_cast<HRESULT>(fault);
        if (!text)
            return E_INVALIDARG;
        return out_string(text_of(target_), text);
    }
    WINSIM_NOT_IMPLEMENTED(put_text(BSTR))
    WINSIM_NOT_IMPLEMENTED(get_specified(VARIANT_BOOL*))
    WINSIM_NOT_IMPLEMENTED(get_definition(IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(get_nodeTypedValue(VARIANT*))
    WINSIM_NOT_IMPLEMENTED(put_nodeTypedValue(VARIANT))
    WINSIM_NOT_IMPLEMENTED(get_dataType(VARIANT*))
    WINSIM_NOT_IMPLEMENTED(put_dataType(BSTR))
    WINSIM_NOT_IMPLEMENTED(get_xml(BSTR*))
    WINSIM_NOT_IMPLEMENTED(transformNode(IXMLDOMNode*, BSTR*))
    WINSIM_NOT_IMPLEMENTED(selectNodes(BSTR, IXMLDOMNodeList**))
    WINSIM_NOT_IMPLEMENTED(selectSingleNode(BSTR, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(get_parsed(VARIANT_BOOL*))
    WINSIM_NOT_IMPLEMENTED(get_namespaceURI(BSTR*))
    WINSIM_NOT_IMPLEMENTED(get_prefix(BSTR*))
    WINSIM_NOT_IMPLEMENTED(get_baseName(BSTR*))
    WINSIM_NOT_IMPLEMENTED(transformNodeToObject(IXMLDOMNode*, VARIANT))

  protected:
    bool Answers(REFIID riid) const override { return riid == IID_IDispatch || riid == IID_IXMLDOMNode; }

    DOMNodeType NodeType() const {
        if (target_.attribute)
            return NODE_ATTRIBUTE;
        switch (target_.node.type()) {
        case pugi::node_document:
            return NODE_DOCUMENT;
        case pugi::node_element:
            return NODE_ELEMENT;
        case pugi::node_pcdata:
            return NODE_TEXT;
        case pugi::node_cdata:
            return NODE_CDATA_SECTION;
        case pugi::node_comment:
            return NODE_COMMENT;
        case pugi::node_pi:
        case pugi::node_declaration:
            return NODE_PROCESSING_INSTRUCTION;
        case pugi::node_doctype:
            return NODE_DOCUMENT_TYPE;
        default:
            return NODE_INVALID;
        }
    }

    // A related node, or S_FALSE and NULL when there is none, as MSXML answers.
    HRESULT Related(pugi::xml_node node, IXMLDOMNode** out) const {
        if (!out)
            return E_INVALIDARG;
        *out = nullptr;
        if (!node)
            return S_FALSE;
        *out = make_node(target_.tree, node);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    Target target_;
};

class Node final : public NodeBase<IXMLDOMNode> {
  public:
    using NodeBase::NodeBase;
};

class Element final : public NodeBase<IXMLDOMElement> {
  public:
    using NodeBase::NodeBase;

    HRESULT WINAPI get_tagName(BSTR* tagName) override {
        if (!tagName)
            return E_INVALIDARG;
        return out_string(target_.node.name(), tagName);
    }
    HRESULT WINAPI getAttribute(BSTR name, VARIANT* value) override {
        if (!name || !value)
            return E_INVALIDARG;
        VariantInit(value);
        const pugi::xml_attribute a = target_.node.attribute(to_utf8(view(name)).c_str());
        if (!a) {
            value->vt = VT_NULL;
            return S_FALSE;
        }
        value->bstrVal = alloc_bstr(from_utf8(a.value()));
        if (!value->bstrVal)
            return E_OUTOFMEMORY;
        value->vt = VT_BSTR;
        return S_OK;
    }
    WINSIM_NOT_IMPLEMENTED(setAttribute(BSTR, VARIANT))
    WINSIM_NOT_IMPLEMENTED(removeAttribute(BSTR))
    WINSIM_NOT_IMPLEMENTED(getAttributeNode(BSTR, IXMLDOMAttribute**))
    WINSIM_NOT_IMPLEMENTED(setAttributeNode(IXMLDOMAttribute*, IXMLDOMAttribute**))
    WINSIM_NOT_IMPLEMENTED(removeAttributeNode(IXMLDOMAttribute*, IXMLDOMAttribute**))
    WINSIM_NOT_IMPLEMENTED(getElementsByTagName(BSTR, IXMLDOMNodeList**))
    WINSIM_NOT_IMPLEMENTED(normalize())

  protected:
    bool Answers(REFIID riid) const override { return NodeBase::Answers(riid) || riid == IID_IXMLDOMElement; }
};

class NodeList final : public ComObject<IXMLDOMNodeList> {
  public:
    NodeList(Tree tree, std::vector<pugi::xml_node> nodes)
        : tree_(std::move(tree)), nodes_(std::move(nodes)) {}

    WINSIM_NOT_IMPLEMENTED(GetTypeInfoCount(UINT*))
    WINSIM_NOT_IMPLEMENTED(GetTypeInfo(UINT, LCID, ITypeInfo**))
    WINSIM_NOT_IMPLEMENTED(GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    WINSIM_NOT_IMPLEMENTED(Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))

    HRESULT WINAPI get_item(LONG index, IXMLDOMNode** listItem) override {
        if (const DWORD fault = enter(Service::IXMLDOMNodeList_get_item))
            return static_cast<HRESULT>(fault);
        if (!listItem)
            return E_INVALIDARG;
        *listItem = nullptr;
        if (index < 0 || static_cast<size_t>(index) >= nodes_.size())
            return S_FALSE;
        *listItem = make_node(tree_, nodes_[static_cast<size_t>(index)]);
        return *listItem ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT WINAPI get_length(LONG* listLength) override {
        if (const DWORD fault = enter(Service::IXMLDOMNodeList_get_length))
            return static_cast<HRESULT>(fault);
        if (!listLength)
            return E_INVALIDARG;
        *listLength = static_cast<LONG>(nodes_.size());
        return S_OK;
    }
    HRESULT WINAPI nextNode(IXMLDOMNode** nextItem) override {
        if (!nextItem)
            return E_INVALIDARG;
        *nextItem = nullptr;
        if (next_ >= nodes_.size())
            return S_FALSE;
        *nextItem = make_node(tree_, nodes_[next_++]);
        return *nextItem ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT WINAPI reset(void) override {
        next_ = 0;
        return S_OK;
    }
    WINSIM_NOT_IMPLEMENTED(get__newEnum(IUnknown**))

  protected:
    bool Answers(REFIID riid) const override { return riid == IID_IDispatch || riid == IID_IXMLDOMNodeList; }

  private:
    Tree tree_;
    std::vector<pugi::xml_node> nodes_;
    size_t next_ = 0;
};

class AttributeMap final : public ComObject<IXMLDOMNamedNodeMap> {
  public:
    AttributeMap(Tree tree, pugi::xml_node element) : tree_(std::move(tree)) {
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute())
            attributes_.push_back(a);
    }

    WINSIM_NOT_IMPLEMENTED(GetTypeInfoCount(UINT*))
    WINSIM_NOT_IMPLEMENTED(GetTypeInfo(UINT, LCID, ITypeInfo**))
    WINSIM_NOT_IMPLEMENTED(GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    WINSIM_NOT_IMPLEMENTED(Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))

    HRESULT WINAPI getNamedItem(BSTR name, IXMLDOMNode** namedItem) override {
        if (!name || !namedItem)
            return E_INVALIDARG;
        *namedItem = nullptr;
        const std::string wanted = to_utf8(view(name));
        for (const pugi::xml_attribute& a : attributes_) {
            if (wanted == a.name()) {
                *namedItem = make_attribute(tree_, a);
                return *namedItem ? S_OK : E_OUTOFMEMORY;
            }
        }
        return S_FALSE;
    }
    WINSIM_NOT_IMPLEMENTED(setNamedItem(IXMLDOMNode*, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(removeNamedItem(BSTR, IXMLDOMNode**))
    HRESULT WINAPI get_item(LONG index, IXMLDOMNode** listItem) override {
        if (const DWORD fault = enter(Service::IXMLDOMNamedNodeMap_get_item))
            return static_cast<HRESULT>(fault);
        if (!listItem)
            return E_INVALIDARG;
        *listItem = nullptr;
        if (index < 0 || static_cast<size_t>(index) >= attributes_.size())
            return S_FALSE;
        *listItem = make_attribute(tree_, attributes_[static_cast<size_t>(index)]);
        return *listItem ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT WINAPI get_length(LONG* listLength) override {
        if (const DWORD fault = enter(Service::IXMLDOMNamedNodeMap_get_length))
            return static_cast<HRESULT>(fault);
        if (!listLength)
            return E_INVALIDARG;
        *listLength = static_cast<LONG>(attributes_.size());
        return S_OK;
    }
    WINSIM_NOT_IMPLEMENTED(getQualifiedItem(BSTR, BSTR, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(removeQualifiedItem(BSTR, BSTR, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(nextNode(IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(reset())
    WINSIM_NOT_IMPLEMENTED(get__newEnum(IUnknown**))

  protected:
    bool Answers(REFIID riid) const override {
        return riid == IID_IDispatch || riid == IID_IXMLDOMNamedNodeMap;
    }

  private:
    Tree tree_;
    std::vector<pugi::xml_attribute> attributes_;
};

template <class Interface> HRESULT WINAPI NodeBase<Interface>::get_childNodes(IXMLDOMNodeList** childList) {
    if (const DWORD fault = enter(Service::IXMLDOMNode_get_childNodes))
        return static_cast<HRESULT>(fault);
    if (!childList)
        return E_INVALIDARG;
    std::vector<pugi::xml_node> children;
    if (!target_.attribute) {
        for (pugi::xml_node c = target_.node.first_child(); c; c = c.next_sibling())
            children.push_back(c);
    }
    *childList = new NodeList(target_.tree, std::move(children));
    return S_OK;
}

template <class Interface>
HRESULT WINAPI NodeBase<Interface>::get_attributes(IXMLDOMNamedNodeMap** attributeMap) {
    if (const DWORD fault = enter(Service::IXMLDOMNode_get_attributes))
        return static_cast<HRESULT>(fault);
    if (!attributeMap)
        return E_INVALIDARG;
    *attributeMap = nullptr;
    // Only elements have attributes; other nodes answer S_FALSE and NULL.
    if (target_.attribute || target_.node.type() != pugi::node_element)
        return S_FALSE;
    *attributeMap = new AttributeMap(target_.tree, target_.node);
    return S_OK;
}

IXMLDOMNode* make_node(const Tree& tree, pugi::xml_node node) {
    if (node.type() == pugi::node_element)
        return new Element(Target{tree, node, {}});
    return new Node(Target{tree, node, {}});
}

IXMLDOMNode* make_attribute(const Tree& tree, pugi::xml_attribute attribute) {
    return new Node(Target{tree, pugi::xml_node(), attribute});
}

// The prefix of a qualified name ("bidi" of "bidi:Schema"), empty when it has none.
std::string_view prefix_of(std::string_view name) {
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

bool prefix_declared(pugi::xml_node element, std::string_view prefix) {
    if (prefix.empty() || prefix == "xml" || prefix == "xmlns")
        return true;
    const std::string attribute = "xmlns:" + std::string(prefix);
    for (pugi::xml_node n = element; n && n.type() == pugi::node_element; n = n.parent()) {
        if (n.attribute(attribute.c_str()))
            return true;
    }
    return false;
}

// What MSXML checks beyond what pugixml does: one root element, and every prefix declared.
bool well_formed(const pugi::xml_document& doc) {
    int roots = 0;
    for (pugi::xml_node c = doc.first_child(); c; c = c.next_sibling())
        roots += c.type() == pugi::node_element;
    if (roots != 1)
        return false;
    for (pugi::xml_node n = next_in_subtree(doc, doc); n; n = next_in_subtree(n, doc)) {
        if (n.type() != pugi::node_element)
            continue;
        if (!prefix_declared(n, prefix_of(n.name())))
            return false;
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            if (!prefix_declared(n, prefix_of(a.name())))
                return false;
        }
    }
    return true;
}

class Document final : public NodeBase<IXMLDOMDocument> {
  public:
    Document() : NodeBase(Target{std::make_shared<pugi::xml_document>(), {}, {}}) {
        target_.node = *target_.tree;
    }

    WINSIM_NOT_IMPLEMENTED(get_doctype(IXMLDOMDocumentType**))
    WINSIM_NOT_IMPLEMENTED(get_implementation(IXMLDOMImplementation**))
    HRESULT WINAPI get_documentElement(IXMLDOMElement** DOMElement) override {
        if (const DWORD fault = enter(Service::IXMLDOMDocument_get_documentElement))
            return static_cast<HRESULT>(fault);
        if (!DOMElement)
            return E_INVALIDARG;
        *DOMElement = nullptr;
        const pugi::xml_node root = target_.tree->document_element();
        if (!root)
            return S_FALSE;
        *DOMElement = new Element(Target{target_.tree, root, {}});
        return S_OK;
    }
    WINSIM_NOT_IMPLEMENTED(putref_documentElement(IXMLDOMElement*))
    WINSIM_NOT_IMPLEMENTED(createElement(BSTR, IXMLDOMElement**))
    WINSIM_NOT_IMPLEMENTED(createDocumentFragment(IXMLDOMDocumentFragment**))
    WINSIM_NOT_IMPLEMENTED(createTextNode(BSTR, IXMLDOMText**))
    WINSIM_NOT_IMPLEMENTED(createComment(BSTR, IXMLDOMComment**))
    WINSIM_NOT_IMPLEMENTED(createCDATASection(BSTR, IXMLDOMCDATASection**))
    WINSIM_NOT_IMPLEMENTED(createProcessingInstruction(BSTR, BSTR, IXMLDOMProcessingInstruction**))
    WINSIM_NOT_IMPLEMENTED(createAttribute(BSTR, IXMLDOMAttribute**))
    WINSIM_NOT_IMPLEMENTED(createEntityReference(BSTR, IXMLDOMEntityReference**))
    WINSIM_NOT_IMPLEMENTED(getElementsByTagName(BSTR, IXMLDOMNodeList**))
    WINSIM_NOT_IMPLEMENTED(createNode(VARIANT, BSTR, BSTR, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(nodeFromID(BSTR, IXMLDOMNode**))
    WINSIM_NOT_IMPLEMENTED(load(VARIANT, VARIANT_BOOL*))
    WINSIM_NOT_IMPLEMENTED(get_readyState(LONG*))
    WINSIM_NOT_IMPLEMENTED(get_parseError(IXMLDOMParseError**))
    WINSIM_NOT_IMPLEMENTED(get_url(BSTR*))
    WINSIM_NOT_IMPLEMENTED(get_async(VARIANT_BOOL*))
    HRESULT WINAPI put_async(VARIANT_BOOL) override { return S_OK; }
    WINSIM_NOT_IMPLEMENTED(abort())
    HRESULT WINAPI loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) override {
        if (const DWORD fault = enter(Service::IXMLDOMDocument_loadXML))
            return static_cast<HRESULT>(fault);
        if (isSuccessful)
            *isSuccessful = VARIANT_FALSE;
        // A new tree each time: nodes handed out from the last one keep it.
        auto tree = std::make_shared<pugi::xml_document>();
        const size_t chars = bstrXML ? SysStringLen(bstrXML) : 0;
        const unsigned options = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;
        const pugi::xml_parse_result parsed =
            chars ? tree->load_buffer(bstrXML, chars * sizeof(OLECHAR), options, pugi::encoding_utf16_le)
                  : pugi::xml_parse_result();
        if (!chars || !parsed || !well_formed(*tree))
            tree->reset();
        const bool ok = tree->document_element();
        target_.tree = std::move(tree);
        target_.node = *target_.tree;
        if (isSuccessful)
            *isSuccessful = ok ? VARIANT_TRUE : VARIANT_FALSE;
        return ok ? S_OK : S_FALSE;
    }
    WINSIM_NOT_IMPLEMENTED(save(VARIANT))
    WINSIM_NOT_IMPLEMENTED(get_validateOnParse(VARIANT_BOOL*))
    HRESULT WINAPI put_validateOnParse(VARIANT_BOOL) override { return S_OK; }
    WINSIM_NOT_IMPLEMENTED(get_resolveExternals(VARIANT_BOOL*))
    HRESULT WINAPI put_resolveExternals(VARIANT_BOOL) override { return S_OK; }
    WINSIM_NOT_IMPLEMENTED(get_preserveWhiteSpace(VARIANT_BOOL*))
    WINSIM_NOT_IMPLEMENTED(put_preserveWhiteSpace(VARIANT_BOOL))
    WINSIM_NOT_IMPLEMENTED(put_onreadystatechange(VARIANT))
    WINSIM_NOT_IMPLEMENTED(put_ondataavailable(VARIANT))
    WINSIM_NOT_IMPLEMENTED(put_ontransformnode(VARIANT))

  protected:
    bool Answers(REFIID riid) const override {
        return NodeBase::Answers(riid) || riid == IID_IXMLDOMDocument;
    }
};

#undef WINSIM_NOT_IMPLEMENTED

} // namespace

IUnknown* create_dom_document() {
    return new Document;
}

} // namespace winsim
