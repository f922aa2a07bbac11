#pragma once

#include "veneer/core/VeneerDefs.h"

#include <windows.h>

namespace Veneer
{

// How LoadFromMem and LoadFromFile read the bytes of a document.
enum
{
    XMLFILE_ENCODING_UTF8 = 0,    // UTF-8, with or without a byte-order mark
    XMLFILE_ENCODING_UNICODE = 1, // UTF-16 with a byte-order mark (either byte order)
    XMLFILE_ENCODING_ANSI = 2     // the ANSI code page
};

class CMarkup;

// One element of a parsed document; indices link the elements of the flat
// table, and index 0 (a placeholder) means "none".
struct tagXMLELEMENT
{
    ULONG iStart;  // offset of the element name in the text
    ULONG iChild;  // first child
    ULONG iNext;   // next sibling
    ULONG iParent; // parent, 0 at the top level
    ULONG iData;   // offset of the element's text content
};

// A light handle on one element of a loaded CMarkup. Names and values point
// into the markup's text and stay valid until the markup is released or
// reloaded. The attributes are located only when first asked for.
class VENEER_API CMarkupNode
{
    friend class CMarkup;

  public:
    CMarkupNode();

    bool IsValid() const;

    CMarkupNode GetParent();
    CMarkupNode GetSibling();
    CMarkupNode GetChild();
    CMarkupNode GetChild(const wchar_t* pstrName);

    bool HasSiblings() const;
    bool HasChildren() const;
    const wchar_t* GetName() const;
    const wchar_t* GetValue() const;

    bool HasAttributes();
    bool HasAttribute(const wchar_t* pstrName);
    int GetAttributeCount();
    const wchar_t* GetAttributeName(int iIndex);
    const wchar_t* GetAttributeValue(int iIndex);
    const wchar_t* GetAttributeValue(const wchar_t* pstrName);
    bool GetAttributeValue(int iIndex, wchar_t* pstrValue, SIZE_T cchMax);
    bool GetAttributeValue(const wchar_t* pstrName, wchar_t* pstrValue, SIZE_T cchMax);

  private:
    enum
    {
        MAX_XML_ATTRIBUTES = 64
    };

    struct XMLATTRIBUTE
    {
        ULONG iName;  // offset of the attribute name in the markup's text
        ULONG iValue; // offset of its value
    };

    CMarkupNode(CMarkup* pOwner, int iPos);

    CMarkupNode NodeAt(ULONG iPos) const;
    const tagXMLELEMENT* GetElement() const;
    void MapAttributes();
    int FindAttribute(const wchar_t* pstrName);

    int m_iPos;
    int m_nAttributes;
    XMLATTRIBUTE m_aAttributes[MAX_XML_ATTRIBUTES];
    CMarkup* m_pOwner;
    ULONG m_nMappedText; // the owner's text generation that the attributes were mapped in
};

// The toolkit's reader for skin documents. The whole document is held as one
// UTF-16 text that parsing modifies in place: names, values and texts are
// terminated inside it, and the elements are recorded in a flat table.
class VENEER_API CMarkup
{
    friend class CMarkupNode;
    friend class CMarkupTestAccess; // parses text placed before a guard page

  public:
    explicit CMarkup(const wchar_t* pstrXML = nullptr);
    CMarkup(const CMarkup&) = delete;
    CMarkup& operator=(const CMarkup&) = delete;
    ~CMarkup();

    bool Load(const wchar_t* pstrXML);
    bool LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding = XMLFILE_ENCODING_UTF8);
    bool LoadFromFile(const wchar_t* pstrFilename, int encoding = XMLFILE_ENCODING_UTF8);
    void Release();
    bool IsValid() const;

    void SetPreserveWhitespace(bool bPreserve = true);
    void GetLastErrorMessage(wchar_t* pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(wchar_t* pstrSource, SIZE_T cchMax) const;

    CMarkupNode GetRoot();

  private:
    bool DecodeUtf16(const BYTE* pByte, DWORD dwSize);
    bool DecodeMultiByte(UINT codePage, const BYTE* pByte, DWORD dwSize);
    bool ReadFromDisk(const wchar_t* pstrFilename, int encoding);
    bool ReadFromArchive(const wchar_t* pstrFilename, int encoding);

    bool Parse();
    bool ParseLevel(wchar_t*& pstrText, ULONG iParent, int iDepth);
    bool ParseElement(wchar_t*& pstrText, ULONG iElement, int iDepth);
    bool ParseClosingTag(wchar_t*& pstrText, const wchar_t* pstrName, SIZE_T cchName);
    bool ParseAttributes(wchar_t*& pstrText);
    void ParseData(wchar_t*& pstrText, wchar_t*& pstrDest, wchar_t cEnd) const;
    tagXMLELEMENT* ReserveElement();
    bool Failed(const wchar_t* pstrError, const wchar_t* pstrLocation = L"");

    wchar_t* m_pstrXML;
    tagXMLELEMENT* m_pElements;
    ULONG m_nElements;
    ULONG m_nReservedElements;
    wchar_t m_szErrorMsg[100];
    wchar_t m_szErrorXML[50];
    bool m_bPreserveWhitespace;
    ULONG m_nTextGeneration; // counts the texts released, so that nodes notice a reload
};

} // namespace Veneer
