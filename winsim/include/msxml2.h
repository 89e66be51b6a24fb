/* The XML document object of MSXML (msxml3.dll): the DOM interfaces a reader of a document walks, methods in
   Windows' order. Interfaces the reader never reaches are only declared. */
#ifndef __msxml2_h__
#define __msxml2_h__

#include <windows.h>
#include <ole2.h>

typedef enum tagDOMNodeType {
    NODE_INVALID = 0,
    NODE_ELEMENT,
    NODE_ATTRIBUTE,
    NODE_TEXT,
    NODE_CDATA_SECTION,
    NODE_ENTITY_REFERENCE,
    NODE_ENTITY,
    NODE_PROCESSING_INSTRUCTION,
    NODE_COMMENT,
    NODE_DOCUMENT,
    NODE_DOCUMENT_TYPE,
    NODE_DOCUMENT_FRAGMENT,
    NODE_NOTATION
} DOMNodeType;

#ifdef __cplusplus
struct IXMLDOMNode;
struct IXMLDOMNodeList;
struct IXMLDOMNamedNodeMap;
struct IXMLDOMDocument;
struct IXMLDOMElement;
struct IXMLDOMAttribute;
struct IXMLDOMDocumentType;
struct IXMLDOMImplementation;
struct IXMLDOMDocumentFragment;
struct IXMLDOMText;
struct IXMLDOMComment;
struct IXMLDOMCDATASection;
struct IXMLDOMProcessingInstruction;
struct IXMLDOMEntityReference;
struct IXMLDOMParseError;

extern "C" WINSIM_EXPORT const IID IID_IXMLDOMNode;
extern "C" WINSIM_EXPORT const IID IID_IXMLDOMNodeList;
extern "C" WINSIM_EXPORT const IID IID_IXMLDOMNamedNodeMap;
extern "C" WINSIM_EXPORT const IID IID_IXMLDOMDocument;
extern "C" WINSIM_EXPORT const IID IID_IXMLDOMElement;
extern "C" WINSIM_EXPORT const CLSID CLSID_DOMDocument30;

struct IXMLDOMNode : public IDispatch {
    virtual HRESULT WINAPI get_nodeName(BSTR* name) = 0;
    virtual HRESULT WINAPI get_nodeValue(VARIANT* value) = 0;
    virtual HRESULT WINAPI put_nodeValue(VARIANT value) = 0;
    virtual HRESULT WINAPI get_nodeType(DOMNodeType* type) = 0;
    virtual HRESULT WINAPI get_parentNode(IXMLDOMNode** parent) = 0;
    virtual HRESULT WINAPI get_childNodes(IXMLDOMNodeList** childList) = 0;
    virtual HRESULT WINAPI get_firstChild(IXMLDOMNode** firstChild) = 0;
    virtual HRESULT WINAPI get_lastChild(IXMLDOMNode** lastChild) = 0;
    virtual HRESULT WINAPI get_previousSibling(IXMLDOMNode** previousSibling) = 0;
    virtual HRESULT WINAPI get_nextSibling(IXMLDOMNode** nextSibling) = 0;
    virtual HRESULT WINAPI get_attributes(IXMLDOMNamedNodeMap** attributeMap) = 0;
    virtual HRESULT WINAPI insertBefore(IXMLDOMNode* newChild, VARIANT refChild,
                                        IXMLDOMNode** outNewChild) = 0;
    virtual HRESULT WINAPI replaceChild(IXMLDOMNode* newChild, IXMLDOMNode* oldChild,
                                        IXMLDOMNode** outOldChild) = 0;
    virtual HRESULT WINAPI removeChild(IXMLDOMNode* childNode, IXMLDOMNode** oldChild) = 0;
    virtual HRESULT WINAPI appendChild(IXMLDOMNode* newChild, IXMLDOMNode** outNewChild) = 0;
    virtual HRESULT WINAPI hasChildNodes(VARIANT_BOOL* hasChild) = 0;
    virtual HRESULT WINAPI get_ownerDocument(IXMLDOMDocument** DOMDocument) = 0;
    virtual HRESULT WINAPI cloneNode(VARIANT_BOOL deep, IXMLDOMNode** cloneRoot) = 0;
    virtual HRESULT WINAPI get_nodeTypeString(BSTR* nodeType) = 0;
    virtual HRESULT WINAPI get_text(BSTR* text) = 0;
    virtual HRESULT WINAPI put_text(BSTR text) = 0;
    virtual HRESULT WINAPI get_specified(VARIANT_BOOL* isSpecified) = 0;
    virtual HRESULT WINAPI get_definition(IXMLDOMNode** definitionNode) = 0;
    virtual HRESULT WINAPI get_nodeTypedValue(VARIANT* typedValue) = 0;
    virtual HRESULT WINAPI put_nodeTypedValue(VARIANT typedValue) = 0;
    virtual HRESULT WINAPI get_dataType(VARIANT* dataTypeName) = 0;
    virtual HRESULT WINAPI put_dataType(BSTR dataTypeName) = 0;
    virtual HRESULT WINAPI get_xml(BSTR* xmlString) = 0;
    virtual HRESULT WINAPI transformNode(IXMLDOMNode* stylesheet, BSTR* xmlString) = 0;
    virtual HRESULT WINAPI selectNodes(BSTR queryString, IXMLDOMNodeList** resultList) = 0;
    virtual HRESULT WINAPI selectSingleNode(BSTR queryString, IXMLDOMNode** resultNode) = 0;
    virtual HRESULT WINAPI get_parsed(VARIANT_BOOL* isParsed) = 0;
    virtual HRESULT WINAPI get_namespaceURI(BSTR* namespaceURI) = 0;
    virtual HRESULT WINAPI get_prefix(BSTR* prefixString) = 0;
    virtual HRESULT WINAPI get_baseName(BSTR* nameString) = 0;
    virtual HRESULT WINAPI transformNodeToObject(IXMLDOMNode* stylesheet, VARIANT outputObject) = 0;
};

struct IXMLDOMDocument : public IXMLDOMNode {
    virtual HRESULT WINAPI get_doctype(IXMLDOMDocumentType** documentType) = 0;
    virtual HRESULT WINAPI get_implementation(IXMLDOMImplementation** impl) = 0;
    virtual HRESULT WINAPI get_documentElement(IXMLDOMElement** DOMElement) = 0;
    virtual HRESULT WINAPI putref_documentElement(IXMLDOMElement* DOMElement) = 0;
    virtual HRESULT WINAPI createElement(BSTR tagName, IXMLDOMElement** element) = 0;
    virtual HRESULT WINAPI createDocumentFragment(IXMLDOMDocumentFragment** docFrag) = 0;
    virtual HRESULT WINAPI createTextNode(BSTR data, IXMLDOMText** text) = 0;
    virtual HRESULT WINAPI createComment(BSTR data, IXMLDOMComment** comment) = 0;
    virtual HRESULT WINAPI createCDATASection(BSTR data, IXMLDOMCDATASection** cdata) = 0;
    virtual HRESULT WINAPI createProcessingInstruction(BSTR target, BSTR data,
                                                       IXMLDOMProcessingInstruction** pi) = 0;
    virtual HRESULT WINAPI createAttribute(BSTR name, IXMLDOMAttribute** attribute) = 0;
    virtual HRESULT WINAPI createEntityReference(BSTR name, IXMLDOMEntityReference** entityRef) = 0;
    virtual HRESULT WINAPI getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) = 0;
    virtual HRESULT WINAPI createNode(VARIANT Type, BSTR name, BSTR namespaceURI, IXMLDOMNode** node) = 0;
    virtual HRESULT WINAPI nodeFromID(BSTR idString, IXMLDOMNode** node) = 0;
    virtual HRESULT WINAPI load(VARIANT xmlSource, VARIANT_BOOL* isSuccessful) = 0;
    virtual HRESULT WINAPI get_readyState(LONG* value) = 0;
    virtual HRESULT WINAPI get_parseError(IXMLDOMParseError** errorObj) = 0;
    virtual HRESULT WINAPI get_url(BSTR* urlString) = 0;
    virtual HRESULT WINAPI get_async(VARIANT_BOOL* isAsync) = 0;
    virtual HRESULT WINAPI put_async(VARIANT_BOOL isAsync) = 0;
    virtual HRESULT WINAPI abort(void) = 0;
    /* S_OK and VARIANT_TRUE for a well-formed document; S_FALSE and VARIANT_FALSE otherwise. */
    virtual HRESULT WINAPI loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) = 0;
    virtual HRESULT WINAPI save(VARIANT destination) = 0;
    virtual HRESULT WINAPI get_validateOnParse(VARIANT_BOOL* isValidating) = 0;
    virtual HRESULT WINAPI put_validateOnParse(VARIANT_BOOL isValidating) = 0;
    virtual HRESULT WINAPI get_resolveExternals(VARIANT_BOOL* isResolving) = 0;
    virtual HRESULT WINAPI put_resolveExternals(VARIANT_BOOL isResolving) = 0;
    virtual HRESULT WINAPI get_preserveWhiteSpace(VARIANT_BOOL* isPreserving) = 0;
    virtual HRESULT WINAPI put_preserveWhiteSpace(VARIANT_BOOL isPreserving) = 0;
    virtual HRESULT WINAPI put_onreadystatechange(VARIANT readystatechangeSink) = 0;
    virtual HRESULT WINAPI put_ondataavailable(VARIANT ondataavailableSink) = 0;
    virtual HRESULT WINAPI put_ontransformnode(VARIANT ontransformnodeSink) = 0;
};

struct IXMLDOMNodeList : public IDispatch {
    virtual HRESULT WINAPI get_item(LONG index, IXMLDOMNode** listItem) = 0;
    virtual HRESULT WINAPI get_length(LONG* listLength) = 0;
    virtual HRESULT WINAPI nextNode(IXMLDOMNode** nextItem) = 0;
    virtual HRESULT WINAPI reset(void) = 0;
    virtual HRESULT WINAPI get__newEnum(IUnknown** ppUnk) = 0;
};

struct IXMLDOMNamedNodeMap : public IDispatch {
    virtual HRESULT WINAPI getNamedItem(BSTR name, IXMLDOMNode** namedItem) = 0;
    virtual HRESULT WINAPI setNamedItem(IXMLDOMNode* newItem, IXMLDOMNode** nameItem) = 0;
    virtual HRESULT WINAPI removeNamedItem(BSTR name, IXMLDOMNode** namedItem) = 0;
    virtual HRESULT WINAPI get_item(LONG index, IXMLDOMNode** listItem) = 0;
    virtual HRESULT WINAPI get_length(LONG* listLength) = 0;
    virtual HRESULT WINAPI getQualifiedItem(BSTR baseName, BSTR namespaceURI,
                                            IXMLDOMNode** qualifiedItem) = 0;
    virtual HRESULT WINAPI removeQualifiedItem(BSTR baseName, BSTR namespaceURI,
                                               IXMLDOMNode** qualifiedItem) = 0;
    virtual HRESULT WINAPI nextNode(IXMLDOMNode** nextItem) = 0;
    virtual HRESULT WINAPI reset(void) = 0;
    virtual HRESULT WINAPI get__newEnum(IUnknown** ppUnk) = 0;
};

struct IXMLDOMElement : public IXMLDOMNode {
    virtual HRESULT WINAPI get_tagName(BSTR* tagName) = 0;
    virtual HRESULT WINAPI getAttribute(BSTR name, VARIANT* value) = 0;
    virtual HRESULT WINAPI setAttribute(BSTR name, VARIANT value) = 0;
    virtual HRESULT WINAPI removeAttribute(BSTR name) = 0;
    virtual HRESULT WINAPI getAttributeNode(BSTR name, IXMLDOMAttribute** attributeNode) = 0;
    virtual HRESULT WINAPI setAttributeNode(IXMLDOMAttribute* DOMAttribute,
                                            IXMLDOMAttribute** attributeNode) = 0;
    virtual HRESULT WINAPI removeAttributeNode(IXMLDOMAttribute* DOMAttribute,
                                               IXMLDOMAttribute** attributeNode) = 0;
    virtual HRESULT WINAPI getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) = 0;
    virtual HRESULT WINAPI normalize(void) = 0;
};
#endif

#endif
