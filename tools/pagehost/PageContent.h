#pragma once

#include <string>
#include <vector>

namespace PageHost
{

// What the host understood of a page: its title, the blocks it draws in
// document order, and its scripts.
enum class PageItemKind
{
    Heading, // <h1> to <h6>
    Text,    // the text of <p> and of everything else that is not skipped
    Link,    // <a>: runs its onclick, then its href ("javascript:" code or an address)
    Button,  // <button>: runs its onclick
};

struct CPageItem
{
    PageItemKind kind = PageItemKind::Text;
    std::wstring text;
    std::wstring onclick;
    std::wstring href;

    bool IsAction() const { return kind == PageItemKind::Link || kind == PageItemKind::Button; }
};

struct CPageScriptBlock
{
    std::wstring code;
    // The 0-based line of the page on which the code begins, so that the
    // engine's error positions are the page's.
    unsigned long line = 0;
};

struct CPageContent
{
    std::wstring title;
    std::vector<CPageItem> items;
    std::vector<CPageScriptBlock> scripts;
    std::wstring onload; // <body onload="...">
    // What the limits kept out; the host reports these counts.
    size_t refusedActions = 0;
    size_t refusedTextBlocks = 0;
    size_t refusedScripts = 0;
    size_t cutTexts = 0; // texts cut to kMaxBlockChars
};

} // namespace PageHost
