#include "service/page_text.h"

#include <gumbo.h>

#include <algorithm>
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

}  // namespace

std::string Inner_Text(std::string_view html) {
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

}  // namespace modPageParser
