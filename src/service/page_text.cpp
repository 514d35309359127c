#include "service/page_text.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>
#include <cstddef>
#include <cstdlib>
#include <vector>

namespace modPageParser {
namespace {

enum class Kind { Inline, Block, Cell, Skip, Break, Pre };

Kind kindOf(GumboTag tag) {
    switch (tag) {
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_TITLE: case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_NOSCRIPT: case GUMBO_TAG_IFRAME: case GUMBO_TAG_HEAD: case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_NOEMBED: case GUMBO_TAG_OBJECT: case GUMBO_TAG_SVG: case GUMBO_TAG_MATH:
        return Kind::Skip;
    case GUMBO_TAG_BR:
        return Kind::Break;
    case GUMBO_TAG_PRE: case GUMBO_TAG_LISTING: case GUMBO_TAG_PLAINTEXT: case GUMBO_TAG_XMP:
        return Kind::Pre;
    case GUMBO_TAG_TD: case GUMBO_TAG_TH:
        return Kind::Cell;
    case GUMBO_TAG_ADDRESS: case GUMBO_TAG_ARTICLE: case GUMBO_TAG_ASIDE: case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_CENTER: case GUMBO_TAG_DD: case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_DIR: case GUMBO_TAG_DIV: case GUMBO_TAG_DL: case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET: case GUMBO_TAG_FIGCAPTION: case GUMBO_TAG_FIGURE: case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_FORM: case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3: case GUMBO_TAG_H4:
    case GUMBO_TAG_H5: case GUMBO_TAG_H6: case GUMBO_TAG_HEADER: case GUMBO_TAG_HGROUP:
    case GUMBO_TAG_HR: case GUMBO_TAG_LI: case GUMBO_TAG_MAIN: case GUMBO_TAG_MENU: case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL: case GUMBO_TAG_P: case GUMBO_TAG_SECTION: case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_TABLE: case GUMBO_TAG_CAPTION: case GUMBO_TAG_TR: case GUMBO_TAG_UL:
    case GUMBO_TAG_LEGEND: case GUMBO_TAG_OPTION: case GUMBO_TAG_BODY: case GUMBO_TAG_HTML:
    case GUMBO_TAG_FRAMESET:
        return Kind::Block;
    default:
        return Kind::Inline;
    }
}

// Parents whose white space between children is only layout (tables between their cells).
bool isTableFrame(GumboTag tag) {
    return tag == GUMBO_TAG_TABLE || tag == GUMBO_TAG_TBODY || tag == GUMBO_TAG_THEAD ||
           tag == GUMBO_TAG_TFOOT || tag == GUMBO_TAG_TR || tag == GUMBO_TAG_COLGROUP;
}

class TextWriter {
public:
    explicit TextWriter(size_t reserve) { m_out.reserve(reserve); }

    void text(const char* s, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                m_blank = true;
            } else if (c == 0xC2 && i + 1 < n && static_cast<unsigned char>(s[i + 1]) == 0xA0) {
                m_blank = true;  // no-break space
                ++i;
            } else {
                if (m_blank && !m_lineStart && !m_glue) m_out.push_back(' ');
                m_blank = false;
                m_glue = false;
                m_lineStart = false;
                m_out.push_back(static_cast<char>(c));
            }
        }
    }

    void preText(const char* s, size_t n) {
        if (m_blank && !m_lineStart && !m_glue) m_out.push_back(' ');
        m_blank = false;
        m_glue = false;
        for (size_t i = 0; i < n; ++i) {
            const char c = s[i];
            if (c == '\r') continue;
            if (c == '\n') {
                m_out.append("\r\n");
                m_lineStart = true;
            } else {
                m_out.push_back(c);
                m_lineStart = false;
            }
        }
    }

    void lineBreak() {
        m_blank = false;
        m_glue = false;
        if (!m_out.empty() && !m_lineStart) {
            m_out.append("\r\n");
            m_lineStart = true;
        }
    }

    // A cell edge: white space before it is dropped, and so is white space up to the next character.
    void glue() {
        m_blank = false;
        m_glue = true;
    }

    std::string take() {
        while (m_out.size() >= 2 && m_out.compare(m_out.size() - 2, 2, "\r\n") == 0) m_out.resize(m_out.size() - 2);
        return std::move(m_out);
    }

private:
    std::string m_out;
    bool m_blank = false;      // white space seen since the last character written
    bool m_lineStart = true;   // nothing written on the current line yet
    bool m_glue = false;       // at a cell edge: the next blank is dropped
};

// The parse's memory: gumbo's many small allocations come from a few large blocks that are let go
// together once the text is read, instead of one malloc and one free each (and a walk of the
// whole tree to free it). A block is kept for the next parse.
class ParseArena {
public:
    ParseArena() = default;
    ParseArena(const ParseArena&) = delete;
    ParseArena& operator=(const ParseArena&) = delete;
    ~ParseArena() {
        for (char* b : m_blocks) std::free(b);
    }

    static void* allocate(void* arena, size_t n) { return static_cast<ParseArena*>(arena)->take(n); }
    static void deallocate(void*, void*) {}  // all of it goes when the parse is done

    // Lets go of everything but the first block, which the next parse starts on.
    void reset() {
        for (size_t i = 1; i < m_blocks.size(); ++i) std::free(m_blocks[i]);
        m_blocks.resize(std::min<size_t>(m_blocks.size(), 1));
        m_next = m_blocks.empty() ? nullptr : m_blocks.front();
        m_left = m_blocks.empty() ? 0 : m_firstSize;
    }

private:
    // A page head cut at 65,000 bytes takes about 1.1 MB of parse memory.
    static constexpr size_t kFirstBlock = 2 << 20;
    static constexpr size_t kAlign = alignof(std::max_align_t);

    void* take(size_t n) {
        n = (std::max<size_t>(n, 1) + kAlign - 1) & ~(kAlign - 1);  // never the same address twice
        if (n > m_left && !grow(n)) return nullptr;
        void* p = m_next;
        m_next += n;
        m_left -= n;
        return p;
    }

    bool grow(size_t n) {
        const size_t size = std::max(n, kFirstBlock << std::min<size_t>(m_blocks.size(), 4));
        char* b = static_cast<char*>(std::malloc(size));
        if (!b) return false;
        if (m_blocks.empty()) m_firstSize = size;
        m_blocks.push_back(b);
        m_next = b;
        m_left = size;
        return true;
    }

    std::vector<char*> m_blocks;
    size_t m_firstSize = 0;
    char* m_next = nullptr;
    size_t m_left = 0;
};

struct Frame {
    const GumboNode* node;
    unsigned next;  // index of the next child to visit
    Kind kind;
    bool pre;
};

// ---- Nesting guard ----
// The parser's work for each tag grows with the depth of the open elements, so a page of endless
// unclosed tags ("<div>" a hundred thousand times) would cost the square of its length. The guard
// follows the nesting roughly as the page opens and closes tags, and leaves out an opening tag
// (not its text) that would go deeper than any real page does.

bool nameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':'; }

std::string lowerName(std::string_view html, size_t from, size_t& end) {
    end = from;
    while (end < html.size() && nameChar(html[end])) ++end;
    std::string name(html.substr(from, end - from));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

bool voidElement(const std::string& n) {
    static const char* const kVoid[] = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
                                        "meta", "param", "source", "track", "wbr", "keygen", "basefont", "frame"};
    return std::any_of(std::begin(kVoid), std::end(kVoid), [&](const char* v) { return n == v; });
}

// An element the next one of its kind closes when it is left open ("<li>a<li>b"), within how many
// of the open elements above it.
int closedBySibling(const std::string& n) {
    if (n == "p" || n == "li" || n == "dt" || n == "dd" || n == "option") return 2;
    if (n == "td" || n == "th") return 2;
    if (n == "tr") return 4;
    return 0;
}

// `html` with the opening tags past `maxDepth` left out; empty when nothing had to go.
std::string withBoundedNesting(std::string_view html, size_t maxDepth) {
    std::vector<std::string> open;
    std::string out;
    bool copying = false;
    size_t copiedTo = 0;  // while not copying: html up to here stands as it is
    size_t i = 0;
    while (i < html.size()) {
        const size_t lt = html.find('<', i);
        if (lt == std::string_view::npos) break;
        size_t next = lt + 1;
        if (html.compare(lt, 4, "<!--") == 0) {
            const size_t e = html.find("-->", lt + 4);
            i = e == std::string_view::npos ? html.size() : e + 3;
            continue;
        }
        if (next < html.size() && (html[next] == '!' || html[next] == '?')) {
            const size_t e = html.find('>', next);
            i = e == std::string_view::npos ? html.size() : e + 1;
            continue;
        }
        const bool closing = next < html.size() && html[next] == '/';
        if (closing) ++next;
        if (next >= html.size() || !std::isalpha(static_cast<unsigned char>(html[next]))) {
            i = lt + 1;
            continue;
        }
        size_t nameEnd = next;
        const std::string name = lowerName(html, next, nameEnd);
        const size_t gt = html.find('>', nameEnd);
        const size_t tagEnd = gt == std::string_view::npos ? html.size() : gt + 1;
        if (closing) {
            for (size_t k = open.size(); k-- > 0;)
                if (open[k] == name) {
                    open.resize(k);
                    break;
                }
            i = tagEnd;
            continue;
        }
        const bool selfClosed = gt != std::string_view::npos && gt > nameEnd && html[gt - 1] == '/';
        if (const int reach = closedBySibling(name)) {
            for (size_t k = open.size(), seen = 0; k-- > 0 && seen < static_cast<size_t>(reach); ++seen)
                if (open[k] == name) {
                    open.resize(k);
                    break;
                }
        }
        bool drop = false;
        if (!voidElement(name) && !selfClosed) {
            if (open.size() >= maxDepth) drop = true;
            else open.push_back(name);
        }
        if (drop) {
            if (!copying) {
                out.reserve(html.size());
                copying = true;
            }
            out.append(html.substr(copiedTo, lt - copiedTo));
            copiedTo = tagEnd;
        }
        i = tagEnd;
        // Raw text: what a script or style holds is no markup.
        if (!drop && (name == "script" || name == "style" || name == "textarea" || name == "title")) {
            size_t e = i;
            for (;;) {
                e = html.find("</", e);
                if (e == std::string_view::npos) break;
                size_t ne = 0;
                if (lowerName(html, e + 2, ne) == name) break;
                e += 2;
            }
            i = e == std::string_view::npos ? html.size() : e;
        }
    }
    if (!copying) return {};
    out.append(html.substr(copiedTo));
    return out;
}

// Deeper than the pages of the service ever nest.
constexpr size_t kMaxNesting = 100;

}  // namespace

std::string Inner_Text(std::string_view html) {
    const std::string bounded = withBoundedNesting(html, kMaxNesting);
    if (!bounded.empty()) html = bounded;
    thread_local ParseArena arena;
    struct Reset {
        ParseArena& a;
        ~Reset() { a.reset(); }
    } reset{arena};
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &ParseArena::allocate;
    options.deallocator = &ParseArena::deallocate;
    options.userdata = &arena;
    options.fragment_context = GUMBO_TAG_BODY;
    options.fragment_namespace = GUMBO_NAMESPACE_HTML;
    options.max_errors = 0;  // the parse errors are not wanted
    GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
    if (!output) return {};

    TextWriter w(html.size() / 3);
    std::vector<Frame> stack;
    stack.push_back({output->root, 0, Kind::Block, false});
    while (!stack.empty()) {
        Frame& f = stack.back();
        const GumboVector& children = f.node->v.element.children;
        if (f.next >= children.length) {
            if (f.kind == Kind::Block || f.kind == Kind::Pre) w.lineBreak();
            else if (f.kind == Kind::Cell) w.glue();
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[f.next++]);
        const bool pre = f.pre;
        switch (child->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_CDATA:
            if (pre) w.preText(child->v.text.text, std::char_traits<char>::length(child->v.text.text));
            else w.text(child->v.text.text, std::char_traits<char>::length(child->v.text.text));
            break;
        case GUMBO_NODE_WHITESPACE:
            if (pre) w.preText(child->v.text.text, std::char_traits<char>::length(child->v.text.text));
            else if (!isTableFrame(f.node->v.element.tag)) w.text(" ", 1);
            break;
        case GUMBO_NODE_ELEMENT: {
            const Kind k = kindOf(child->v.element.tag);
            if (k == Kind::Skip) break;
            if (k == Kind::Break) {
                w.lineBreak();
                break;
            }
            if (k == Kind::Block || k == Kind::Pre) w.lineBreak();
            else if (k == Kind::Cell) w.glue();
            stack.push_back({child, 0, k, pre || k == Kind::Pre});
            break;
        }
        default:
            break;  // comments, templates, the document
        }
    }
    return w.take();  // the tree goes with the arena
}

std::string Answer_Page_Text(std::string_view html) {
    size_t n = std::min(html.size(), kAnswerPageCut);
    while (n > 0 && n < html.size() && (static_cast<unsigned char>(html[n]) & 0xC0) == 0x80) --n;  // whole characters
    return Inner_Text(html.substr(0, n));
}

}  // namespace modPageParser
