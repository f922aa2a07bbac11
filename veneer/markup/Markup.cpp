#include "veneer/markup/Markup.h"

#include "veneer/core/ScopedHandle.h"
#include "veneer/resource/ArchiveForLoad.h"
#include "veneer/resource/ResourceSettings.h"
#include "veneer/resource/ZipArchive.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <memory>

// Characters are stepped one UTF-16 unit at a time. Every character the parser
// looks for (delimiters, whitespace, identifier characters) lies in the Basic
// Multilingual Plane and is never a surrogate, so a surrogate pair always moves
// as one whole, as CharNextW would move it, without a call per character. Every
// scan stops at the first NUL: either the end of the text or a terminator that
// the parsing itself wrote behind its read position.

namespace Veneer
{

namespace
{

// Elements nest at most this deep, so that neither the parser nor the code that
// walks the tree recursively can run out of stack on a hostile document.
const int kMaxNestingDepth = 256;

// Offsets and indices are 32-bit, and the table's byte size must fit a size_t.
const size_t kMaxElements = std::min<size_t>(ULONG_MAX, SIZE_MAX / sizeof(tagXMLELEMENT));
const size_t kMaxTextLength = ULONG_MAX - 1;

// Skin documents are read whole; larger files are refused.
const DWORD kMaxDocumentBytes = 4 * 1024 * 1024;

const wchar_t kOutOfMemory[] = L"Not enough memory";
const wchar_t kTooLarge[] = L"File too large";
const wchar_t kEmpty[] = L"File is empty";

struct Entity
{
    const wchar_t* pstrName; // after the '&'
    size_t cchName;
    wchar_t ch;
};

const Entity kEntities[] = {
    {L"amp;", 4, L'&'}, {L"lt;", 3, L'<'}, {L"gt;", 3, L'>'}, {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
};

// Any control character or space; the terminator is not whitespace.
inline bool IsWhitespace(wchar_t ch)
{
    return ch != L'\0' && ch <= L' ';
}

inline bool IsIdentifierChar(wchar_t ch)
{
    if (ch < 0x80)
        return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9') ||
               ch == L'_' || ch == L':';
    return iswalnum(ch) != 0;
}

// For the text being parsed and, once parsed, the text being read.
template <typename Char> inline void SkipWhitespace(Char*& pstr)
{
    while (IsWhitespace(*pstr))
        ++pstr;
}

inline void SkipIdentifier(wchar_t*& pstr)
{
    while (IsIdentifierChar(*pstr))
        ++pstr;
}

// Skips "<!...->" or "<?...?>" from the '!' or '?' to just past its end, or to
// the end of the text.
void SkipDeclaration(wchar_t*& pstr)
{
    const wchar_t chClose = *pstr == L'!' ? L'-' : L'?';
    while (*pstr != L'\0' && !(pstr[0] == chClose && pstr[1] == L'>'))
        ++pstr;
    if (*pstr != L'\0')
        pstr += 2;
}

// Copies the entity at pstrText ('&') to pstrDest as its character, or the '&'
// alone when it names none of the five.
void TranslateEntity(wchar_t*& pstrText, wchar_t*& pstrDest)
{
    const wchar_t* pstrName = pstrText + 1;
    for (const Entity& entity : kEntities)
    {
        if (wcsncmp(pstrName, entity.pstrName, entity.cchName) == 0)
        {
            *pstrDest++ = entity.ch;
            pstrText += 1 + entity.cchName;
            return;
        }
    }
    *pstrDest++ = *pstrText++;
}

// Copies at most cchMax - 1 characters and always terminates the copy, so
// that a text longer than the buffer is cut rather than left open.
void CopyLimited(wchar_t* pstrTarget, const wchar_t* pstrSource, SIZE_T cchMax)
{
    if (pstrTarget == nullptr || cchMax == 0)
        return;
    wcsncpy(pstrTarget, pstrSource, cchMax - 1);
    pstrTarget[cchMax - 1] = L'\0';
}

// Where a terminated text that starts at pstr ends: just past its terminator,
// or null when no terminator comes up to pstrLimit (inclusive).
const wchar_t* SkipTerminated(const wchar_t* pstr, const wchar_t* pstrLimit)
{
    while (pstr < pstrLimit && *pstr != L'\0')
        ++pstr;
    return *pstr == L'\0' ? pstr + 1 : nullptr;
}

struct FreeBlock
{
    void operator()(BYTE* p) const { free(p); }
};

// The bytes of a document as read, zero-filled first: a source that delivers
// fewer bytes than it declared leaves zeros, which end the text, rather than
// stale memory.
typedef std::unique_ptr<BYTE, FreeBlock> DocumentBytes;

DocumentBytes AllocateDocument(DWORD cbSize)
{
    return DocumentBytes(static_cast<BYTE*>(calloc(cbSize, 1)));
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// CMarkupNode

CMarkupNode::CMarkupNode() : CMarkupNode(nullptr, 0) {}

CMarkupNode::CMarkupNode(CMarkup* pOwner, int iPos)
    : m_iPos(iPos), m_nAttributes(0), m_aAttributes(), m_pOwner(pOwner), m_nMappedText(0)
{
}

bool CMarkupNode::IsValid() const
{
    return m_pOwner != nullptr;
}

// The element this node stands for, or null when the node is invalid or its
// markup no longer holds the element (released or reloaded since).
const tagXMLELEMENT* CMarkupNode::GetElement() const
{
    if (m_pOwner == nullptr || m_iPos <= 0 || static_cast<ULONG>(m_iPos) >= m_pOwner->m_nElements)
        return nullptr;
    return &m_pOwner->m_pElements[m_iPos];
}

CMarkupNode CMarkupNode::NodeAt(ULONG iPos) const
{
    return iPos == 0 ? CMarkupNode() : CMarkupNode(m_pOwner, static_cast<int>(iPos));
}

CMarkupNode CMarkupNode::GetParent()
{
    const tagXMLELEMENT* pElement = GetElement();
    return pElement != nullptr ? NodeAt(pElement->iParent) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetSibling()
{
    const tagXMLELEMENT* pElement = GetElement();
    return pElement != nullptr ? NodeAt(pElement->iNext) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetChild()
{
    const tagXMLELEMENT* pElement = GetElement();
    return pElement != nullptr ? NodeAt(pElement->iChild) : CMarkupNode();
}

CMarkupNode CMarkupNode::GetChild(const wchar_t* pstrName)
{
    const tagXMLELEMENT* pElement = GetElement();
    if (pElement == nullptr || pstrName == nullptr)
        return CMarkupNode();
    for (ULONG iPos = pElement->iChild; iPos != 0; iPos = m_pOwner->m_pElements[iPos].iNext)
    {
        if (wcscmp(m_pOwner->m_pstrXML + m_pOwner->m_pElements[iPos].iStart, pstrName) == 0)
            return NodeAt(iPos);
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const
{
    const tagXMLELEMENT* pElement = GetElement();
    return pElement != nullptr && pElement->iNext != 0;
}

bool CMarkupNode::HasChildren() const
{
    const tagXMLELEMENT* pElement = GetElement();
    return pElement != nullptr && pElement->iChild != 0;
}

const wchar_t* CMarkupNode::GetName() const
{
    const tagXMLELEMENT* pElement = GetElement();
    return pElement != nullptr ? m_pOwner->m_pstrXML + pElement->iStart : nullptr;
}

const wchar_t* CMarkupNode::GetValue() const
{
    const tagXMLELEMENT* pElement = GetElement();
    return pElement != nullptr ? m_pOwner->m_pstrXML + pElement->iData : nullptr;
}

// After parsing, a start tag reads: the name and its terminator, then per
// attribute optional whitespace, the name, its terminator, whitespace, the
// opening quote and the terminated value; it ends before the data start (at a
// '>' that is still in place, or at the terminator that replaced "/>").
void CMarkupNode::MapAttributes()
{
    m_nAttributes = 0;
    const tagXMLELEMENT* pElement = GetElement();
    if (pElement == nullptr)
        return;
    m_nMappedText = m_pOwner->m_nTextGeneration;
    const wchar_t* pstrXML = m_pOwner->m_pstrXML;
    const wchar_t* pstrEnd = pstrXML + pElement->iData;
    const wchar_t* pstr = SkipTerminated(pstrXML + pElement->iStart, pstrEnd);
    while (pstr != nullptr && m_nAttributes < MAX_XML_ATTRIBUTES)
    {
        SkipWhitespace(pstr);
        if (pstr >= pstrEnd || *pstr == L'>')
            return;
        const wchar_t* pstrName = pstr;
        pstr = SkipTerminated(pstr, pstrEnd);
        if (pstr == nullptr || pstr >= pstrEnd)
            return;
        SkipWhitespace(pstr);
        if (pstr >= pstrEnd || *pstr != L'"')
            return;
        const wchar_t* pstrValue = ++pstr;
        pstr = SkipTerminated(pstr, pstrEnd);
        if (pstr == nullptr || pstr > pstrEnd)
            return;
        m_aAttributes[m_nAttributes].iName = static_cast<ULONG>(pstrName - pstrXML);
        m_aAttributes[m_nAttributes].iValue = static_cast<ULONG>(pstrValue - pstrXML);
        ++m_nAttributes;
    }
}

// The map is made on first use, and again when the markup has loaded another
// text since: the old offsets would point into the new, maybe shorter, text.
int CMarkupNode::GetAttributeCount()
{
    if (m_nAttributes == 0 || (m_pOwner != nullptr && m_nMappedText != m_pOwner->m_nTextGeneration))
        MapAttributes();
    return m_nAttributes;
}

bool CMarkupNode::HasAttributes()
{
    return GetAttributeCount() > 0;
}

int CMarkupNode::FindAttribute(const wchar_t* pstrName)
{
    if (pstrName == nullptr)
        return -1;
    const int nAttributes = GetAttributeCount();
    for (int i = 0; i < nAttributes; ++i)
    {
        if (wcscmp(m_pOwner->m_pstrXML + m_aAttributes[i].iName, pstrName) == 0)
            return i;
    }
    return -1;
}

bool CMarkupNode::HasAttribute(const wchar_t* pstrName)
{
    return FindAttribute(pstrName) >= 0;
}

const wchar_t* CMarkupNode::GetAttributeName(int iIndex)
{
    if (GetElement() == nullptr)
        return nullptr;
    if (iIndex < 0 || iIndex >= GetAttributeCount())
        return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iName;
}

const wchar_t* CMarkupNode::GetAttributeValue(int iIndex)
{
    if (GetElement() == nullptr)
        return nullptr;
    if (iIndex < 0 || iIndex >= GetAttributeCount())
        return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue;
}

const wchar_t* CMarkupNode::GetAttributeValue(const wchar_t* pstrName)
{
    if (GetElement() == nullptr)
        return nullptr;
    const int iIndex = FindAttribute(pstrName);
    return iIndex >= 0 ? m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue : L"";
}

bool CMarkupNode::GetAttributeValue(int iIndex, wchar_t* pstrValue, SIZE_T cchMax)
{
    if (GetElement() == nullptr || iIndex < 0 || iIndex >= GetAttributeCount())
        return false;
    CopyLimited(pstrValue, m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue, cchMax);
    return true;
}

bool CMarkupNode::GetAttributeValue(const wchar_t* pstrName, wchar_t* pstrValue, SIZE_T cchMax)
{
    if (GetElement() == nullptr)
        return false;
    return GetAttributeValue(FindAttribute(pstrName), pstrValue, cchMax);
}

/////////////////////////////////////////////////////////////////////////////
// CMarkup

CMarkup::CMarkup(const wchar_t* pstrXML)
    : m_pstrXML(nullptr), m_pElements(nullptr), m_nElements(0), m_nReservedElements(0), m_szErrorMsg(),
      m_szErrorXML(), m_bPreserveWhitespace(true), m_nTextGeneration(0)
{
    if (pstrXML != nullptr)
        Load(pstrXML);
}

CMarkup::~CMarkup()
{
    Release();
}

bool CMarkup::IsValid() const
{
    return m_pElements != nullptr;
}

void CMarkup::SetPreserveWhitespace(bool bPreserve)
{
    m_bPreserveWhitespace = bPreserve;
}

void CMarkup::GetLastErrorMessage(wchar_t* pstrMessage, SIZE_T cchMax) const
{
    CopyLimited(pstrMessage, m_szErrorMsg, cchMax);
}

void CMarkup::GetLastErrorLocation(wchar_t* pstrSource, SIZE_T cchMax) const
{
    CopyLimited(pstrSource, m_szErrorXML, cchMax);
}

CMarkupNode CMarkup::GetRoot()
{
    return m_nElements > 1 ? CMarkupNode(this, 1) : CMarkupNode();
}

void CMarkup::Release()
{
    m_nTextGeneration++;
    free(m_pstrXML);
    free(m_pElements);
    m_pstrXML = nullptr;
    m_pElements = nullptr;
    m_nElements = 0;
    m_nReservedElements = 0;
}

bool CMarkup::Failed(const wchar_t* pstrError, const wchar_t* pstrLocation)
{
    CopyLimited(m_szErrorMsg, pstrError, _countof(m_szErrorMsg));
    CopyLimited(m_szErrorXML, pstrLocation, _countof(m_szErrorXML));
    return false;
}

bool CMarkup::Load(const wchar_t* pstrXML)
{
    Release();
    if (pstrXML == nullptr)
        return Failed(L"No document text");
    const size_t cchXML = wcslen(pstrXML);
    if (cchXML > kMaxTextLength)
        return Failed(kTooLarge);
    m_pstrXML = static_cast<wchar_t*>(malloc((cchXML + 1) * sizeof(wchar_t)));
    if (m_pstrXML == nullptr)
        return Failed(kOutOfMemory);
    wmemcpy(m_pstrXML, pstrXML, cchXML + 1);
    if (!Parse())
    {
        Release();
        return false;
    }
    return true;
}

bool CMarkup::LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding)
{
    Release();
    if (pByte == nullptr && dwSize != 0)
        return Failed(L"No document bytes");
    bool bDecoded = false;
    if (encoding == XMLFILE_ENCODING_UTF8)
    {
        // A UTF-8 byte-order mark is dropped.
        if (dwSize > 2 && pByte[0] == 0xEF && pByte[1] == 0xBB && pByte[2] == 0xBF)
        {
            pByte += 3;
            dwSize -= 3;
        }
        bDecoded = DecodeMultiByte(CP_UTF8, pByte, dwSize);
    }
    else if (encoding == XMLFILE_ENCODING_ANSI)
        bDecoded = DecodeMultiByte(CP_ACP, pByte, dwSize);
    else
        bDecoded = DecodeUtf16(pByte, dwSize);
    if (!bDecoded || !Parse())
    {
        Release();
        return false;
    }
    return true;
}

// Reads the document from the skin archive when one is set, else from the file
// under the resource path; there is no fallback between the two.
bool CMarkup::LoadFromFile(const wchar_t* pstrFilename, int encoding)
{
    Release();
    if (CResourceSettings::GetResourceZip().IsEmpty())
        return ReadFromDisk(pstrFilename, encoding);
    return ReadFromArchive(pstrFilename, encoding);
}

bool CMarkup::ReadFromDisk(const wchar_t* pstrFilename, int encoding)
{
    if (pstrFilename == nullptr)
        return Failed(L"Error opening file");
    const CUiString sPath = CResourceSettings::GetResourcePath() + pstrFilename;
    CScopedHandle file(CreateFileW(sPath.GetData(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return Failed(L"Error opening file");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return Failed(L"Could not read file");
    if (size.QuadPart == 0)
        return Failed(kEmpty);
    if (size.QuadPart > kMaxDocumentBytes)
        return Failed(kTooLarge);
    const DWORD cbSize = static_cast<DWORD>(size.QuadPart);
    DocumentBytes bytes = AllocateDocument(cbSize);
    if (bytes == nullptr)
        return Failed(kOutOfMemory);
    DWORD cbRead = 0;
    if (!ReadFile(file.Get(), bytes.get(), cbSize, &cbRead, nullptr) || cbRead != cbSize)
        return Failed(L"Could not read file");
    return LoadFromMem(bytes.get(), cbSize, encoding);
}

bool CMarkup::ReadFromArchive(const wchar_t* pstrFilename, int encoding)
{
    CArchiveForLoad archive;
    if (archive.Get() == nullptr)
        return Failed(L"Error opening zip file");
    int iIndex = -1;
    ZIPENTRY ze{};
    if (FindZipItem(archive.Get(), pstrFilename, true, &iIndex, &ze) != ZR_OK)
        return Failed(L"Could not find ziped file");
    if (ze.unc_size == 0)
        return Failed(kEmpty);
    // A negative size is a declared size of 2 GiB or more.
    if (ze.unc_size < 0 || static_cast<DWORD>(ze.unc_size) > kMaxDocumentBytes)
        return Failed(kTooLarge);
    const DWORD cbSize = static_cast<DWORD>(ze.unc_size);
    DocumentBytes bytes = AllocateDocument(cbSize);
    if (bytes == nullptr)
        return Failed(kOutOfMemory);
    const ZRESULT result = UnzipItem(archive.Get(), iIndex, bytes.get(), cbSize);
    if (result != ZR_OK && result != ZR_MORE)
        return Failed(L"Could not unzip file");
    return LoadFromMem(bytes.get(), cbSize, encoding);
}

bool CMarkup::DecodeMultiByte(UINT codePage, const BYTE* pByte, DWORD dwSize)
{
    if (dwSize > static_cast<DWORD>(INT_MAX))
        return Failed(kTooLarge);
    const char* pstrSource = reinterpret_cast<const char*>(pByte);
    const int cchSource = static_cast<int>(dwSize);
    const int cchText =
        cchSource > 0 ? MultiByteToWideChar(codePage, 0, pstrSource, cchSource, nullptr, 0) : 0;
    if (cchSource > 0 && cchText <= 0)
        return Failed(L"Could not convert the text");
    m_pstrXML = static_cast<wchar_t*>(malloc((static_cast<size_t>(cchText) + 1) * sizeof(wchar_t)));
    if (m_pstrXML == nullptr)
        return Failed(kOutOfMemory);
    if (cchText > 0)
        MultiByteToWideChar(codePage, 0, pstrSource, cchSource, m_pstrXML, cchText);
    m_pstrXML[cchText] = L'\0';
    return true;
}

bool CMarkup::DecodeUtf16(const BYTE* pByte, DWORD dwSize)
{
    const bool bLittleEndian = dwSize > 1 && pByte[0] == 0xFF && pByte[1] == 0xFE;
    const bool bBigEndian = dwSize > 1 && pByte[0] == 0xFE && pByte[1] == 0xFF;
    if (!bLittleEndian && !bBigEndian)
        return Failed(L"UTF-16 text needs a byte-order mark");
    // The units after the mark; an odd last byte belongs to no unit.
    const size_t cchText = dwSize / 2 - 1;
    m_pstrXML = static_cast<wchar_t*>(malloc((cchText + 1) * sizeof(wchar_t)));
    if (m_pstrXML == nullptr)
        return Failed(kOutOfMemory);
    const BYTE* pUnit = pByte + 2;
    for (size_t i = 0; i < cchText; ++i, pUnit += 2)
    {
        const BYTE bLow = bLittleEndian ? pUnit[0] : pUnit[1];
        const BYTE bHigh = bLittleEndian ? pUnit[1] : pUnit[0];
        m_pstrXML[i] = static_cast<wchar_t>(bLow | (bHigh << 8));
    }
    m_pstrXML[cchText] = L'\0';
    return true;
}

// Parses the whole text; on failure the error is kept and the caller releases
// the document.
bool CMarkup::Parse()
{
    assert(m_pstrXML != nullptr && m_nElements == 0);
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    // Element 0 is a placeholder, so that index 0 can mean "none".
    if (ReserveElement() == nullptr)
        return Failed(kOutOfMemory);
    wchar_t* pstrText = m_pstrXML;
    return ParseLevel(pstrText, 0, 0);
}

// A new zeroed record at the end of the element table, or null when the table
// cannot grow. The table grows by half its size plus 500 records.
tagXMLELEMENT* CMarkup::ReserveElement()
{
    if (m_nElements == m_nReservedElements)
    {
        const size_t nGrowBy = m_nReservedElements / 2 + 500;
        if (m_nReservedElements > kMaxElements - nGrowBy)
            return nullptr;
        const size_t nReserved = m_nReservedElements + nGrowBy;
        void* pElements = realloc(m_pElements, nReserved * sizeof(tagXMLELEMENT));
        if (pElements == nullptr)
            return nullptr;
        m_pElements = static_cast<tagXMLELEMENT*>(pElements);
        m_nReservedElements = static_cast<ULONG>(nReserved);
    }
    tagXMLELEMENT* pElement = &m_pElements[m_nElements++];
    *pElement = tagXMLELEMENT{};
    return pElement;
}

// Parses the elements of one level, the children of iParent (0 for the top
// level), up to the closing tag that ends the level, which the caller checks.
bool CMarkup::ParseLevel(wchar_t*& pstrText, ULONG iParent, int iDepth)
{
    ULONG iPrevious = 0;
    for (;;)
    {
        // The end of the text completes the top level and the root's children:
        // a root element whose closing tag is missing is accepted.
        SkipWhitespace(pstrText);
        if (*pstrText == L'\0' && iParent <= 1)
            return true;
        if (*pstrText != L'<')
            return Failed(L"Expected start tag", pstrText);
        // A closing tag ends the level of its element, which the caller
        // checks; at the top level it closes nothing.
        if (pstrText[1] == L'/')
            return iParent != 0 ? true : Failed(L"Unmatched closing tag", pstrText);
        *pstrText++ = L'\0';
        SkipWhitespace(pstrText);

        // Comments and declarations are skipped.
        if (*pstrText == L'!' || *pstrText == L'?')
        {
            SkipDeclaration(pstrText);
            continue;
        }

        // Record the element and link it into its level.
        tagXMLELEMENT* pElement = ReserveElement();
        if (pElement == nullptr)
            return Failed(kOutOfMemory, pstrText);
        const ULONG iElement = m_nElements - 1;
        pElement->iStart = static_cast<ULONG>(pstrText - m_pstrXML);
        pElement->iParent = iParent;
        if (iPrevious != 0)
            m_pElements[iPrevious].iNext = iElement;
        else if (iParent != 0)
            m_pElements[iParent].iChild = iElement;
        iPrevious = iElement;

        if (!ParseElement(pstrText, iElement, iDepth))
            return false;
    }
}

// Parses one element from its name on: the start tag, its text and children,
// and its closing tag.
bool CMarkup::ParseElement(wchar_t*& pstrText, ULONG iElement, int iDepth)
{
    // The name, then the attributes.
    wchar_t* pstrName = pstrText;
    SkipIdentifier(pstrText);
    wchar_t* pstrNameEnd = pstrText;
    if (*pstrText == L'\0')
        return Failed(L"Error parsing element name", pstrText);
    if (!ParseAttributes(pstrText))
        return false;

    // The start tag closes as an empty element ("/>", with or without a space
    // before it) or opens the element's content (">"). Either way the name is
    // complete now; its terminator may replace the '/' or '>' just read.
    SkipWhitespace(pstrText);
    const bool bEmpty = pstrText[0] == L'/' && pstrText[1] == L'>';
    if (!bEmpty && *pstrText != L'>')
        return Failed(L"Expected start-tag closing", pstrText);
    m_pElements[iElement].iData = static_cast<ULONG>(pstrText - m_pstrXML) + (bEmpty ? 0 : 1);
    *pstrNameEnd = L'\0';
    if (bEmpty)
    {
        *pstrText = L'\0';
        pstrText += 2;
        return true;
    }
    ++pstrText;

    // The text content, taken only before the first child. When nothing was
    // folded its end is the '<' that follows, which is cleared below anyway.
    wchar_t* pstrDest = pstrText;
    ParseData(pstrText, pstrDest, L'<');
    if (pstrDest < pstrText)
        *pstrDest = L'\0';
    if (*pstrText == L'\0' && m_pElements[iElement].iParent <= 1)
        return true;
    if (*pstrText != L'<')
        return Failed(L"Expected end-tag start", pstrText);

    // The children, one level deeper. Only the root's children may end with
    // the text, which completes the root.
    if (pstrText[1] != L'/')
    {
        if (iDepth + 1 >= kMaxNestingDepth)
            return Failed(L"Elements nested too deeply", pstrText);
        if (!ParseLevel(pstrText, iElement, iDepth + 1))
            return false;
        if (*pstrText == L'\0')
        {
            assert(iElement == 1);
            return true;
        }
    }
    return ParseClosingTag(pstrText, pstrName, static_cast<SIZE_T>(pstrNameEnd - pstrName));
}

// Checks the closing tag at "</" against the element name.
bool CMarkup::ParseClosingTag(wchar_t*& pstrText, const wchar_t* pstrName, SIZE_T cchName)
{
    assert(pstrText[0] == L'<' && pstrText[1] == L'/');
    *pstrText = L'\0';
    pstrText += 2;
    SkipWhitespace(pstrText);
    if (wcsncmp(pstrText, pstrName, cchName) != 0)
        return Failed(L"Unmatched closing tag", pstrText);
    pstrText += cchName;
    SkipWhitespace(pstrText);
    if (*pstrText != L'>')
        return Failed(L"Unmatched closing tag", pstrText);
    ++pstrText;
    return true;
}

// Parses the attributes of a start tag, from the character after the element
// name up to the '>', the '/' or the end of the text.
bool CMarkup::ParseAttributes(wchar_t*& pstrText)
{
    // A tag that closes right after the name has none; otherwise the character
    // after the name terminates it.
    if (pstrText[0] == L'>' || (pstrText[0] == L'/' && pstrText[1] == L'>'))
        return true;
    *pstrText++ = L'\0';

    for (;;)
    {
        SkipWhitespace(pstrText);
        if (*pstrText == L'\0' || *pstrText == L'>' || *pstrText == L'/')
            return true;

        // The name and '=', which becomes a space after the terminated name.
        wchar_t* pstrNameEnd = pstrText;
        SkipIdentifier(pstrNameEnd);
        pstrText = pstrNameEnd;
        SkipWhitespace(pstrText);
        if (*pstrText != L'=')
            return Failed(L"Error while parsing attributes", pstrText);
        *pstrText++ = L' ';
        *pstrNameEnd = L'\0';

        // The double-quoted value, copied in place by the text rule. The opening
        // quote stays; the closing one becomes a space, or the terminator itself.
        SkipWhitespace(pstrText);
        if (*pstrText != L'"')
            return Failed(L"Expected attribute value", pstrText);
        wchar_t* pstrDest = ++pstrText;
        ParseData(pstrText, pstrDest, L'"');
        if (*pstrText == L'\0')
            return Failed(L"Error while parsing attribute string", pstrText);
        *pstrDest = L'\0';
        if (pstrText != pstrDest)
            *pstrText = L' ';
        ++pstrText;
    }
}

// Copies a value or an element text in place from pstrText to pstrDest up to
// cEnd or the end of the text, translating the five entities and, unless
// whitespace is preserved, folding whitespace after a space. The characters
// freed between the two positions become spaces.
void CMarkup::ParseData(wchar_t*& pstrText, wchar_t*& pstrDest, wchar_t cEnd) const
{
    wchar_t* pstr = pstrText;
    wchar_t* pstrOut = pstrDest;
    for (;;)
    {
        const wchar_t ch = *pstr;
        if (ch == cEnd || ch == L'\0')
            break;
        if (ch == L'&')
            TranslateEntity(pstr, pstrOut);
        else if (ch == L' ' && !m_bPreserveWhitespace)
        {
            *pstrOut++ = *pstr++;
            SkipWhitespace(pstr);
        }
        else
            *pstrOut++ = *pstr++;
    }
    std::fill(pstrOut, pstr, L' ');
    pstrText = pstr;
    pstrDest = pstrOut;
}

} // namespace Veneer
