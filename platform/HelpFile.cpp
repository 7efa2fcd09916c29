#include "HelpFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QUrl>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

// French quotation marks hold their text with non-breaking spaces, so that a
// long path never leaves a lone « at the end of a line.
QString quoted(const QString &path) {
    return u"\u00AB\u00A0%1\u00A0\u00BB"_s.arg(QDir::toNativeSeparators(path));
}

QString notHelpText(const QString &path) {
    return u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient pas de texte lisible."_s
        .arg(quoted(path));
}

// Text that a help file may hold: any character but the control ones that
// never appear in a written page (NUL above all, which binary files are full of).
bool isPlainText(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f')
            return false;
    }
    return true;
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Whether a name of the file is the known one (lower case ASCII), in any
// case. Quicker than Qt's Unicode comparison, which the scanner would
// otherwise spend most of its time in.
bool isName(QStringView name, QStringView known) {
    if (name.size() != known.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char16_t c = name[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c += u'a' - u'A';
        if (c != known[i].unicode())
            return false;
    }
    return true;
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// "sujet-N" with one to nine digits, in any case: the name of a topic's
// anchor and the fragment of a link to it.
std::optional<int> topicNumber(QStringView name) {
    constexpr QStringView prefix = u"sujet-";
    if (!name.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView digits = name.sliced(prefix.size());
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    int n = 0;
    for (QChar c : digits) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// The named references a French text is likely to use; others stay as
// written.
char16_t namedCharacter(QStringView name) {
    struct Entity {
        QStringView name;
        char16_t c;
    };
    static constexpr std::array<Entity, 40> entities{{
        {u"nbsp", 0x00A0},   {u"amp", u'&'},      {u"lt", u'<'},       {u"gt", u'>'},
        {u"quot", u'"'},     {u"apos", u'\''},    {u"laquo", 0x00AB},  {u"raquo", 0x00BB},
        {u"eacute", 0x00E9}, {u"egrave", 0x00E8}, {u"ecirc", 0x00EA},  {u"euml", 0x00EB},
        {u"agrave", 0x00E0}, {u"acirc", 0x00E2},  {u"ccedil", 0x00E7}, {u"icirc", 0x00EE},
        {u"iuml", 0x00EF},   {u"ocirc", 0x00F4},  {u"ugrave", 0x00F9}, {u"ucirc", 0x00FB},
        {u"uuml", 0x00FC},   {u"Eacute", 0x00C9}, {u"Egrave", 0x00C8}, {u"Ecirc", 0x00CA},
        {u"Agrave", 0x00C0}, {u"Ccedil", 0x00C7}, {u"oelig", 0x0153},  {u"OElig", 0x0152},
        {u"hellip", 0x2026}, {u"ndash", 0x2013},  {u"mdash", 0x2014},  {u"lsquo", 0x2018},
        {u"rsquo", 0x2019},  {u"ldquo", 0x201C},  {u"rdquo", 0x201D},  {u"euro", 0x20AC},
        {u"copy", 0x00A9},   {u"deg", 0x00B0},    {u"times", 0x00D7},  {u"middot", 0x00B7},
    }};
    for (const Entity &e : entities) {
        if (e.name.size() == name.size() && e.name == name)
            return e.c;
    }
    return 0;
}

// Decodes the reference that starts at text[at] ('&'). Returns how many
// characters it took (0 when it is no reference: the '&' is then plain text)
// and appends what it stands for.
qsizetype decodeReference(QStringView text, qsizetype at, QString &out) {
    const qsizetype semicolon =
        text.sliced(at, qMin<qsizetype>(12, text.size() - at)).indexOf(u';');
    if (semicolon < 2)
        return 0;
    const QStringView body = text.sliced(at + 1, semicolon - 1);
    if (body.front() != u'#') {
        const char16_t c = namedCharacter(body);
        if (!c)
            return 0;
        out += QChar(c);
        return semicolon + 1;
    }
    const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
    bool ok = false;
    const uint code = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok)
        return 0;
    if (code < 0x20 || (code >= 0x7F && code < 0xA0))
        out += u' '; // a control character reads as a space
    else if (code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
        out += QChar(QChar::ReplacementCharacter);
    else {
        const char32_t c = code;
        out += QString::fromUcs4(&c, 1);
    }
    return semicolon + 1;
}

// The text of an attribute, its references decoded.
QString attributeText(QStringView raw) {
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'&') {
            if (const qsizetype taken = decodeReference(raw, i, out)) {
                i += taken - 1;
                continue;
            }
        }
        out += raw[i];
    }
    return out;
}

struct Tag {
    QStringView name;
    bool closing = false;
    QStringView nameAttribute, href, cssClass;
    bool hasHref = false;
};

enum class TagKind {
    Ignored,
    Heading1,
    Heading2,
    Paragraph,
    Break,
    Division,
    ListUnordered,
    ListOrdered,
    ListItem,
    Table,
    Row,
    Cell,
    HeaderCell,
    Bold,
    Italic,
    Span,
    Anchor,
    RawText, // its contents are not text to show
};

TagKind kindOf(QStringView name) {
    struct Known {
        QStringView name;
        TagKind kind;
    };
    static constexpr std::array<Known, 36> known{{
        {u"a", TagKind::Anchor},         {u"b", TagKind::Bold},
        {u"i", TagKind::Italic},         {u"p", TagKind::Paragraph},
        {u"h1", TagKind::Heading1},      {u"h2", TagKind::Heading2},
        {u"h3", TagKind::Heading2},      {u"h4", TagKind::Heading2},
        {u"h5", TagKind::Heading2},      {u"h6", TagKind::Heading2},
        {u"br", TagKind::Break},         {u"em", TagKind::Italic},
        {u"hr", TagKind::Division},      {u"li", TagKind::ListItem},
        {u"ol", TagKind::ListOrdered},   {u"td", TagKind::Cell},
        {u"th", TagKind::HeaderCell},    {u"tr", TagKind::Row},
        {u"ul", TagKind::ListUnordered}, {u"div", TagKind::Division},
        {u"pre", TagKind::Division},     {u"xmp", TagKind::RawText},
        {u"span", TagKind::Span},        {u"table", TagKind::Table},
        {u"style", TagKind::RawText},    {u"title", TagKind::RawText},
        {u"center", TagKind::Division},  {u"iframe", TagKind::RawText},
        {u"object", TagKind::RawText},   {u"script", TagKind::RawText},
        {u"strong", TagKind::Bold},      {u"noembed", TagKind::RawText},
        {u"noframes", TagKind::RawText}, {u"noscript", TagKind::RawText},
        {u"textarea", TagKind::RawText}, {u"blockquote", TagKind::Division},
    }};
    for (const Known &k : known) {
        if (isName(name, k.name))
            return k.kind;
    }
    return TagKind::Ignored;
}

HelpStyle styleOfClass(QStringView cssClass) {
    const QString c = cssClass.trimmed().toString().toLower();
    if (c == u"commande")
        return HelpStyle::Command;
    if (c == u"message")
        return HelpStyle::Message;
    if (c == u"remarque")
        return HelpStyle::Aside;
    return HelpStyle::Plain;
}

// Builds one topic from the pieces of its part of the file. Every piece of
// markup goes through here; nothing of it is kept as markup.
class TopicBuilder {
public:
    explicit TopicBuilder(HelpTopic &topic) : m_topic(topic) {}

    void text(QStringView raw);
    void tag(const Tag &tag);
    void finish();

private:
    using Kind = HelpBlock::Kind;

    bool full() const { return m_topic.cut; }
    void cut() { m_topic.cut = true; }
    void closeBlock() { m_open = false; }
    // Inside a list item or a table cell a block only ends a line of it.
    void endBlockOrLine() {
        if (inContainer())
            lineBreak();
        else
            closeBlock();
    }
    bool inContainer() const {
        return m_open && (current().kind == Kind::ListItem || current().kind == Kind::Cell);
    }
    HelpBlock &current() { return m_topic.blocks.last(); }
    const HelpBlock &current() const { return m_topic.blocks.last(); }
    bool openBlock(Kind kind, bool aside = false);
    void lineBreak();
    void appendText(const QString &piece);
    HelpSpan look() const;
    void append(QStringView piece) { append(piece, look()); }
    void append(QStringView piece, const HelpSpan &look);
    void space();
    int linkOf(QStringView href);
    HelpStyle style() const;

    HelpTopic &m_topic;
    bool m_open = false;
    bool m_space = false; // a space is due before the next word
    HelpSpan m_spaceLook; // in the look of the text it followed
    qsizetype m_text = 0;
    qsizetype m_spans = 0;
    qsizetype m_wordLength = 0; // letters since the last place to wrap
    qsizetype m_breaks = 0;
    qsizetype m_cells = 0;
    int m_rowCells = 0;

    int m_bold = 0;
    int m_italic = 0;
    int m_link = 0;
    // Classes of the open <span> elements; deeper ones are only counted.
    std::array<HelpStyle, 16> m_styles{};
    int m_spanDepth = 0;

    int m_listDepth = 0;
    std::array<bool, kMaxListDepth + 1> m_numbered{};
    bool m_newList = false;
    int m_tableDepth = 0;
    bool m_newTable = false;
    bool m_newRow = false;
};

bool TopicBuilder::openBlock(Kind kind, bool aside) {
    closeBlock();
    if (full())
        return false;
    if (m_topic.blocks.size() + m_breaks >= kMaxTopicBlocks ||
        (kind == Kind::Cell && m_cells >= kMaxTopicCells)) {
        cut();
        return false;
    }
    HelpBlock block;
    block.kind = kind;
    block.aside = aside;
    if (kind == Kind::ListItem) {
        block.depth = qBound(1, m_listDepth, kMaxListDepth);
        block.numbered = m_numbered[block.depth];
        block.newGroup = m_newList;
        m_newList = false;
    }
    if (kind == Kind::Cell) {
        block.newGroup = m_newTable;
        // A row wider than the window could show goes on below.
        block.newRow = m_newRow || m_newTable || m_rowCells >= kMaxRowCells;
        m_newTable = m_newRow = false;
        m_rowCells = block.newRow ? 1 : m_rowCells + 1;
        ++m_cells;
    }
    m_topic.blocks.append(block);
    m_open = true;
    m_space = false;
    m_wordLength = 0;
    return true;
}

void TopicBuilder::lineBreak() {
    if (!m_open || current().spans.isEmpty() || current().spans.last().text.endsWith(u'\n'))
        return;
    // Each line costs about as much as a block to lay out.
    if (m_topic.blocks.size() + m_breaks >= kMaxTopicBlocks) {
        cut();
        return;
    }
    ++m_breaks;
    m_space = false;
    append(u"\n");
    m_wordLength = 0;
}

HelpStyle TopicBuilder::style() const {
    for (int i = qMin<int>(m_spanDepth, int(m_styles.size())) - 1; i >= 0; --i) {
        if (m_styles[i] != HelpStyle::Plain)
            return m_styles[i];
    }
    return HelpStyle::Plain;
}

HelpSpan TopicBuilder::look() const {
    HelpSpan look;
    look.bold = m_bold > 0;
    look.italic = m_italic > 0;
    look.style = style();
    look.link = m_link;
    return look;
}

void TopicBuilder::space() {
    if (!m_space)
        m_spaceLook = look();
    m_space = true;
}

// Adds a piece of text within the topic's limits.
void TopicBuilder::append(QStringView piece, const HelpSpan &look) {
    if (full() || piece.isEmpty())
        return;
    if (m_text + piece.size() > kMaxTopicText) {
        piece = piece.first(kMaxTopicText - m_text);
        cut();
    }
    m_text += piece.size();
    QList<HelpSpan> &spans = current().spans;
    if (!spans.isEmpty()) {
        const HelpSpan &last = spans.last();
        if (last.bold == look.bold && last.italic == look.italic && last.style == look.style &&
            last.link == look.link) {
            spans.last().text += piece;
            return;
        }
    }
    if (m_spans >= kMaxTopicSpans) {
        cut();
        return;
    }
    ++m_spans;
    HelpSpan span = look;
    span.text = piece.toString();
    spans.append(std::move(span));
}

// One word (or a run of words joined by non-breaking spaces). A word far
// longer than any French one is given places to wrap, so that it costs no
// more to lay out than ordinary text.
void TopicBuilder::appendText(const QString &word) {
    if (!m_open) {
        if (!openBlock(m_tableDepth > 0  ? Kind::Cell
                       : m_listDepth > 0 ? Kind::ListItem
                                         : Kind::Paragraph))
            return;
    }
    if (m_space && !current().spans.isEmpty() && !current().spans.last().text.endsWith(u'\n')) {
        append(u" ", m_spaceLook);
        m_wordLength = 0;
    }
    m_space = false;
    qsizetype from = 0;
    while (from < word.size() && !full()) {
        const qsizetype room = kMaxWordLength - m_wordLength;
        if (word.size() - from <= room) {
            append(QStringView(word).sliced(from));
            m_wordLength += word.size() - from;
            return;
        }
        append(QStringView(word).sliced(from, room));
        append(u"\u200B");
        from += room;
        m_wordLength = 0;
    }
}

void TopicBuilder::text(QStringView raw) {
    QString word;
    for (qsizetype i = 0; i < raw.size() && !full(); ++i) {
        const QChar c = raw[i];
        if (isSpace(c)) {
            if (!word.isEmpty()) {
                appendText(word);
                word.clear();
            }
            space();
            continue;
        }
        if (c == u'&') {
            QString decoded;
            if (const qsizetype taken = decodeReference(raw, i, decoded)) {
                i += taken - 1;
                if (decoded == u" "_s) {
                    if (!word.isEmpty())
                        appendText(word);
                    word.clear();
                    space();
                } else {
                    word += decoded;
                }
                continue;
            }
        }
        word += c;
        if (word.size() >= kMaxWordLength) {
            appendText(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        appendText(word);
}

int TopicBuilder::linkOf(QStringView href) {
    const QString address = attributeText(href).trimmed();
    if (address.startsWith(u'#')) {
        if (const std::optional<int> n = topicNumber(QStringView(address).sliced(1)))
            return *n;
    }
    // An address out of the file is shown when the player tries it, cut to
    // a length that fits the window.
    if (m_topic.outsideLinks.size() >= 100)
        return -int(m_topic.outsideLinks.size());
    m_topic.outsideLinks.append(address.left(200));
    return -int(m_topic.outsideLinks.size());
}

void TopicBuilder::tag(const Tag &t) {
    if (full())
        return;
    const TagKind kind = kindOf(t.name);
    if (t.closing) {
        switch (kind) {
        case TagKind::Heading1:
        case TagKind::Heading2:
        case TagKind::Paragraph:
        case TagKind::Division:
            endBlockOrLine();
            break;
        case TagKind::ListUnordered:
        case TagKind::ListOrdered:
            if (m_tableDepth > 0)
                break;
            closeBlock();
            m_listDepth = qMax(0, m_listDepth - 1);
            break;
        case TagKind::ListItem:
            if (m_tableDepth == 0)
                closeBlock();
            break;
        case TagKind::Table:
            if (m_tableDepth == 1)
                closeBlock();
            m_tableDepth = qMax(0, m_tableDepth - 1);
            break;
        case TagKind::Row:
        case TagKind::Cell:
        case TagKind::HeaderCell:
            if (m_tableDepth <= 1)
                closeBlock();
            break;
        case TagKind::Bold:
            m_bold = qMax(0, m_bold - 1);
            break;
        case TagKind::Italic:
            m_italic = qMax(0, m_italic - 1);
            break;
        case TagKind::Span:
            m_spanDepth = qMax(0, m_spanDepth - 1);
            break;
        case TagKind::Anchor:
            m_link = 0;
            break;
        default:
            break;
        }
        return;
    }

    switch (kind) {
    case TagKind::Heading1:
    case TagKind::Heading2:
        if (inContainer())
            lineBreak();
        else
            openBlock(kind == TagKind::Heading1 ? Kind::Heading1 : Kind::Heading2);
        break;
    case TagKind::Paragraph:
        if (inContainer())
            lineBreak();
        else
            openBlock(Kind::Paragraph, styleOfClass(t.cssClass) == HelpStyle::Aside);
        break;
    case TagKind::Break:
        if (m_open)
            lineBreak();
        break;
    case TagKind::Division:
        endBlockOrLine();
        break;
    case TagKind::ListUnordered:
    case TagKind::ListOrdered:
        // A list inside a table reads as lines of its cell.
        if (m_tableDepth > 0) {
            lineBreak();
            break;
        }
        closeBlock();
        ++m_listDepth;
        if (m_listDepth <= kMaxListDepth) {
            m_numbered[m_listDepth] = kind == TagKind::ListOrdered;
            m_newList = true;
        }
        break;
    case TagKind::ListItem:
        if (m_tableDepth > 0)
            lineBreak();
        else
            openBlock(Kind::ListItem);
        break;
    case TagKind::Table:
        ++m_tableDepth;
        if (m_tableDepth == 1) {
            closeBlock();
            m_newTable = true;
        } else {
            lineBreak();
        }
        break;
    case TagKind::Row:
        if (m_tableDepth <= 1) {
            closeBlock();
            m_newRow = true;
        } else {
            lineBreak();
        }
        break;
    case TagKind::Cell:
    case TagKind::HeaderCell:
        if (m_tableDepth > 1) {
            space();
        } else if (openBlock(Kind::Cell)) {
            current().header = kind == TagKind::HeaderCell;
        }
        break;
    case TagKind::Bold:
        ++m_bold;
        break;
    case TagKind::Italic:
        ++m_italic;
        break;
    case TagKind::Span:
        if (m_spanDepth < int(m_styles.size()))
            m_styles[m_spanDepth] = styleOfClass(t.cssClass);
        ++m_spanDepth;
        break;
    case TagKind::Anchor:
        m_link = t.hasHref ? linkOf(t.href) : 0;
        break;
    default:
        break;
    }
}

void TopicBuilder::finish() {
    // Blocks left without text (an empty heading, say) show nothing; the
    // first cell of a table or item of a list hands its place on.
    QList<HelpBlock> kept;
    bool newGroup = false;
    bool newRow = false;
    for (HelpBlock &b : m_topic.blocks) {
        if (!b.spans.isEmpty() && b.spans.last().text.endsWith(u'\n')) {
            b.spans.last().text.chop(1);
            if (b.spans.last().text.isEmpty())
                b.spans.removeLast();
        }
        if (b.spans.isEmpty()) {
            newGroup = newGroup || b.newGroup;
            newRow = newRow || b.newRow;
            continue;
        }
        if (b.kind == Kind::Cell || b.kind == Kind::ListItem) {
            b.newGroup = b.newGroup || newGroup;
            b.newRow = b.kind == Kind::Cell && (b.newRow || newRow || b.newGroup);
        }
        newGroup = newRow = false;
        kept.append(std::move(b));
    }
    m_topic.blocks = std::move(kept);
    for (const HelpBlock &b : m_topic.blocks) {
        if (b.kind == Kind::Heading1) {
            QString title;
            for (const HelpSpan &s : b.spans)
                title += s.text;
            title.remove(QChar(0x200B));
            m_topic.title = title.simplified().left(200);
            break;
        }
    }
    if (m_topic.title.isEmpty())
        m_topic.title = u"Rubrique %1"_s.arg(m_topic.context);
}

// Walks through the file once, handing text and tags to the topic they
// belong to. Every search goes forward from where the last one stopped, so
// the work grows with the file's size only.
class Scanner {
public:
    Scanner(QStringView text, QMap<int, HelpTopic> &topics) : m_text(text), m_topics(topics) {}
    void run();

private:
    qsizetype readTag(qsizetype at);
    qsizetype skipRawText(qsizetype from, QStringView name);
    void startTopic(int context);
    void finishTopic();

    QStringView m_text;
    QMap<int, HelpTopic> &m_topics;
    std::optional<HelpTopic> m_topic;
    std::optional<TopicBuilder> m_builder;
};

void Scanner::startTopic(int context) {
    finishTopic();
    // A number given twice keeps its first topic: links and the game's
    // request then agree on what they open.
    if (m_topics.contains(context))
        return;
    m_topic.emplace();
    m_topic->context = context;
    m_builder.emplace(*m_topic);
}

void Scanner::finishTopic() {
    if (!m_topic)
        return;
    m_builder->finish();
    m_builder.reset();
    const int context = m_topic->context;
    m_topics.insert(context, std::move(*m_topic));
    m_topic.reset();
}

qsizetype Scanner::skipRawText(qsizetype from, QStringView name) {
    const QString end = u"</"_s + name.toString();
    const qsizetype at = m_text.indexOf(end, from, Qt::CaseInsensitive);
    if (at < 0)
        return m_text.size();
    const qsizetype close = m_text.indexOf(u'>', at);
    return close < 0 ? m_text.size() : close + 1;
}

// Reads the tag that opens at m_text[at] ('<' then a letter, or "</").
// Returns where the text goes on; a tag cut by the end of the topic's text
// is dropped, as a browser drops it.
qsizetype Scanner::readTag(qsizetype at) {
    const qsizetype n = m_text.size();
    Tag t;
    qsizetype i = at + 1;
    if (m_text[i] == u'/') {
        t.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < n && !isSpace(m_text[i]) && m_text[i] != u'>' && m_text[i] != u'/')
        ++i;
    t.name = m_text.sliced(nameStart, i - nameStart);
    while (true) {
        while (i < n && (isSpace(m_text[i]) || m_text[i] == u'/'))
            ++i;
        if (i >= n)
            return n;
        if (m_text[i] == u'>')
            break;
        const qsizetype attrStart = i;
        while (i < n && !isSpace(m_text[i]) && m_text[i] != u'>' && m_text[i] != u'=' &&
               m_text[i] != u'/')
            ++i;
        const QStringView attr = m_text.sliced(attrStart, i - attrStart);
        while (i < n && isSpace(m_text[i]))
            ++i;
        QStringView value;
        if (i < n && m_text[i] == u'=') {
            ++i;
            while (i < n && isSpace(m_text[i]))
                ++i;
            if (i >= n)
                return n;
            if (m_text[i] == u'"' || m_text[i] == u'\'') {
                const qsizetype close = m_text.indexOf(m_text[i], i + 1);
                if (close < 0)
                    return n;
                value = m_text.sliced(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(m_text[i]) && m_text[i] != u'>')
                    ++i;
                value = m_text.sliced(valueStart, i - valueStart);
            }
        }
        if (isName(attr, u"name")) {
            t.nameAttribute = value;
        } else if (isName(attr, u"href")) {
            t.href = value;
            t.hasHref = true;
        } else if (isName(attr, u"class")) {
            t.cssClass = value;
        }
    }
    const qsizetype next = i + 1;

    if (!t.closing && isName(t.name, u"a")) {
        if (const std::optional<int> context = topicNumber(t.nameAttribute.trimmed())) {
            startTopic(*context);
            return next;
        }
    }
    if (!t.closing && kindOf(t.name) == TagKind::RawText)
        return skipRawText(next, t.name);
    if (m_builder)
        m_builder->tag(t);
    return next;
}

void Scanner::run() {
    const qsizetype n = m_text.size();
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype lt = m_text.indexOf(u'<', pos);
        const qsizetype textEnd = lt < 0 ? n : lt;
        if (m_builder && textEnd > pos)
            m_builder->text(m_text.sliced(pos, textEnd - pos));
        if (lt < 0)
            break;
        const QStringView rest = m_text.sliced(lt, qMin<qsizetype>(4, n - lt));
        if (rest == u"<!--") {
            const qsizetype end = m_text.indexOf(u"-->", lt + 4);
            pos = end < 0 ? n : end + 3;
        } else if (rest.size() > 1 && (rest[1] == u'!' || rest[1] == u'?')) {
            const qsizetype end = m_text.indexOf(u'>', lt);
            pos = end < 0 ? n : end + 1;
        } else if (rest.size() > 1 &&
                   (isAsciiLetter(rest[1]) ||
                    (rest[1] == u'/' && rest.size() > 2 && isAsciiLetter(rest[2])))) {
            pos = readTag(lt);
        } else {
            if (m_builder)
                m_builder->text(u"<");
            pos = lt + 1;
        }
    }
    finishTopic();
}

} // namespace

QString HelpTopic::plainText() const {
    QString out;
    for (const HelpBlock &b : blocks) {
        for (const HelpSpan &s : b.spans)
            out += s.text;
        out += u'\n';
    }
    out.remove(QChar(0x200B));
    return out;
}

HelpFile HelpFile::parse(const QString &path, const QString &text) {
    HelpFile help;
    help.m_path = path;
    if (!isPlainText(text)) {
        help.m_error = notHelpText(path);
        return help;
    }
    Scanner(text, help.m_topics).run();
    if (help.m_topics.isEmpty()) {
        help.m_error =
            u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient aucune rubrique."_s
                .arg(quoted(path));
    }
    return help;
}

HelpFile HelpFile::fromBytes(const QString &path, const QByteArray &bytes) {
    if (bytes.size() > kMaxHelpFileSize) {
        HelpFile help;
        help.m_path = path;
        help.m_error =
            u"Le fichier %1 est trop volumineux pour être un fichier d'aide."_s.arg(quoted(path));
        return help;
    }
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        HelpFile help;
        help.m_path = path;
        help.m_error = notHelpText(path);
        return help;
    }
    return parse(path, text);
}

namespace {

// An open file descriptor, closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Files that say they are ordinary but are made by the kernel as they are
// read; some of them wait for ever for something to say.
bool onPseudoFileSystem(int fd) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return false;
    switch (fs.f_type) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

} // namespace

HelpFile HelpFile::read(const QString &path) {
    HelpFile help;
    help.m_path = path;
    const QString shown = quoted(path);
    const auto fail = [&help](const QString &message) {
        help.m_error = message;
        return help;
    };
    const QString notOrdinary =
        u"Le fichier d'aide %1 ne peut pas être lu : ce n'est pas un fichier ordinaire."_s.arg(
            shown);
    const QString unreadable = u"Le fichier d'aide %1 ne peut pas être lu."_s.arg(shown);
    const QString tooLarge =
        u"Le fichier %1 est trop volumineux pour être un fichier d'aide."_s.arg(shown);

    // A device is turned away before it is even opened, since opening some
    // of them already does something. The name may be changed to point
    // elsewhere in the meantime, so what counts is the check of the open
    // file below; opening without waiting keeps a pipe or a terminal from
    // holding the game up until then.
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    if (::stat(name.constData(), &before) == 0 && !S_ISREG(before.st_mode) &&
        !S_ISDIR(before.st_mode))
        return fail(notOrdinary);

    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
            help.m_missing = true;
            return fail(u"Le fichier d'aide %1 est introuvable."_s.arg(shown));
        case EACCES:
        case EPERM:
            return fail(u"Le fichier d'aide %1 ne peut pas être lu : accès refusé."_s.arg(shown));
        case ELOOP:
            return fail(
                u"Le fichier d'aide %1 ne peut pas être ouvert : c'est un lien qui ne mène à aucun fichier."_s
                    .arg(shown));
        default:
            return fail(u"Le fichier d'aide %1 ne peut pas être ouvert."_s.arg(shown));
        }
    }

    struct stat info {};
    if (::fstat(file.fd(), &info) != 0)
        return fail(unreadable);
    if (S_ISDIR(info.st_mode))
        return fail(u"Le fichier d'aide %1 ne peut pas être lu : c'est un dossier."_s.arg(shown));
    if (!S_ISREG(info.st_mode) || onPseudoFileSystem(file.fd()))
        return fail(notOrdinary);
    if (info.st_size > kMaxHelpFileSize)
        return fail(tooLarge);

    // One byte more than allowed tells a file that has grown since it was
    // measured.
    QByteArray bytes(kMaxHelpFileSize + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t r = ::read(file.fd(), bytes.data() + got, size_t(bytes.size() - got));
        if (r == 0)
            break;
        if (r < 0) {
            if (errno == EINTR)
                continue;
            // An ordinary file never asks to wait.
            return fail(errno == EAGAIN ? notOrdinary : unreadable);
        }
        got += r;
    }
    if (got > kMaxHelpFileSize)
        return fail(tooLarge);
    bytes.truncate(got);
    return fromBytes(path, bytes);
}

const HelpTopic *HelpFile::topic(int context) const {
    const auto it = m_topics.constFind(context);
    return it == m_topics.cend() ? nullptr : &*it;
}

QString HelpFile::missingTopicMessage(int context) const {
    return u"La rubrique n° %1 n'existe pas dans le fichier d'aide %2."_s.arg(context).arg(
        quoted(m_path));
}

std::optional<int> contextOfLink(const QUrl &link) {
    if (!link.isRelative() || !link.host().isEmpty() || !link.path().isEmpty() || link.hasQuery() ||
        !link.hasFragment())
        return std::nullopt;
    return topicNumber(link.fragment());
}

} // namespace platform
