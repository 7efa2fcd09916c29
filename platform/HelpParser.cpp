// The help parser: walks the file's text once and builds each topic's model
// (headings, paragraphs, lists, tables, spans, links) from the tags it
// knows, within the limits HelpFile.h sets, and finds topics by number.
#include "HelpFile.h"

#include <QUrl>

#include <array>

#include "HelpParts.h"

using namespace Qt::StringLiterals;

namespace platform {

namespace {

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

// Builds one topic from the pieces of its part of the file. Every piece of
// markup goes through here; nothing of it is kept as markup.
class TopicBuilder {
public:
    explicit TopicBuilder(HelpTopic &topic) : m_topic(topic) {}

    void text(QStringView raw);
    void tag(const help::Tag &tag);
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
            if (const qsizetype taken = help::decodeReference(raw, i, decoded)) {
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
    const QString address = help::attributeText(href).trimmed();
    if (address.startsWith(u'#')) {
        if (const std::optional<int> n = help::topicNumber(QStringView(address).sliced(1)))
            return *n;
    }
    // An address out of the file is shown when the player tries it, cut to
    // a length that fits the window.
    if (m_topic.outsideLinks.size() >= 100)
        return -int(m_topic.outsideLinks.size());
    m_topic.outsideLinks.append(address.left(200));
    return -int(m_topic.outsideLinks.size());
}

void TopicBuilder::tag(const help::Tag &t) {
    if (full())
        return;
    const help::TagKind kind = help::kindOf(t.name);
    if (t.closing) {
        switch (kind) {
        case help::TagKind::Heading1:
        case help::TagKind::Heading2:
        case help::TagKind::Paragraph:
        case help::TagKind::Division:
            endBlockOrLine();
            break;
        case help::TagKind::ListUnordered:
        case help::TagKind::ListOrdered:
            if (m_tableDepth > 0)
                break;
            closeBlock();
            m_listDepth = qMax(0, m_listDepth - 1);
            break;
        case help::TagKind::ListItem:
            if (m_tableDepth == 0)
                closeBlock();
            break;
        case help::TagKind::Table:
            if (m_tableDepth == 1)
                closeBlock();
            m_tableDepth = qMax(0, m_tableDepth - 1);
            break;
        case help::TagKind::Row:
        case help::TagKind::Cell:
        case help::TagKind::HeaderCell:
            if (m_tableDepth <= 1)
                closeBlock();
            break;
        case help::TagKind::Bold:
            m_bold = qMax(0, m_bold - 1);
            break;
        case help::TagKind::Italic:
            m_italic = qMax(0, m_italic - 1);
            break;
        case help::TagKind::Span:
            m_spanDepth = qMax(0, m_spanDepth - 1);
            break;
        case help::TagKind::Anchor:
            m_link = 0;
            break;
        default:
            break;
        }
        return;
    }

    switch (kind) {
    case help::TagKind::Heading1:
    case help::TagKind::Heading2:
        if (inContainer())
            lineBreak();
        else
            openBlock(kind == help::TagKind::Heading1 ? Kind::Heading1 : Kind::Heading2);
        break;
    case help::TagKind::Paragraph:
        if (inContainer())
            lineBreak();
        else
            openBlock(Kind::Paragraph, help::styleOfClass(t.cssClass) == HelpStyle::Aside);
        break;
    case help::TagKind::Break:
        if (m_open)
            lineBreak();
        break;
    case help::TagKind::Division:
        endBlockOrLine();
        break;
    case help::TagKind::ListUnordered:
    case help::TagKind::ListOrdered:
        // A list inside a table reads as lines of its cell.
        if (m_tableDepth > 0) {
            lineBreak();
            break;
        }
        closeBlock();
        ++m_listDepth;
        if (m_listDepth <= kMaxListDepth) {
            m_numbered[m_listDepth] = kind == help::TagKind::ListOrdered;
            m_newList = true;
        }
        break;
    case help::TagKind::ListItem:
        if (m_tableDepth > 0)
            lineBreak();
        else
            openBlock(Kind::ListItem);
        break;
    case help::TagKind::Table:
        ++m_tableDepth;
        if (m_tableDepth == 1) {
            closeBlock();
            m_newTable = true;
        } else {
            lineBreak();
        }
        break;
    case help::TagKind::Row:
        if (m_tableDepth <= 1) {
            closeBlock();
            m_newRow = true;
        } else {
            lineBreak();
        }
        break;
    case help::TagKind::Cell:
    case help::TagKind::HeaderCell:
        if (m_tableDepth > 1) {
            space();
        } else if (openBlock(Kind::Cell)) {
            current().header = kind == help::TagKind::HeaderCell;
        }
        break;
    case help::TagKind::Bold:
        ++m_bold;
        break;
    case help::TagKind::Italic:
        ++m_italic;
        break;
    case help::TagKind::Span:
        if (m_spanDepth < int(m_styles.size()))
            m_styles[m_spanDepth] = help::styleOfClass(t.cssClass);
        ++m_spanDepth;
        break;
    case help::TagKind::Anchor:
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
    help::Tag t;
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
        if (help::isName(attr, u"name")) {
            t.nameAttribute = value;
        } else if (help::isName(attr, u"href")) {
            t.href = value;
            t.hasHref = true;
        } else if (help::isName(attr, u"class")) {
            t.cssClass = value;
        }
    }
    const qsizetype next = i + 1;

    if (!t.closing && help::isName(t.name, u"a")) {
        if (const std::optional<int> context = help::topicNumber(t.nameAttribute.trimmed())) {
            startTopic(*context);
            return next;
        }
    }
    if (!t.closing && help::kindOf(t.name) == help::TagKind::RawText)
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
        help.m_error = help::notHelpText(path);
        return help;
    }
    Scanner(text, help.m_topics).run();
    if (help.m_topics.isEmpty()) {
        help.m_error =
            u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient aucune rubrique."_s
                .arg(help::quoted(path));
    }
    return help;
}

const HelpTopic *HelpFile::topic(int context) const {
    const auto it = m_topics.constFind(context);
    return it == m_topics.cend() ? nullptr : &*it;
}

QString HelpFile::missingTopicMessage(int context) const {
    return u"La rubrique n° %1 n'existe pas dans le fichier d'aide %2."_s.arg(context).arg(
        help::quoted(m_path));
}

std::optional<int> contextOfLink(const QUrl &link) {
    if (!link.isRelative() || !link.host().isEmpty() || !link.path().isEmpty() || link.hasQuery() ||
        !link.hasFragment())
        return std::nullopt;
    return help::topicNumber(link.fragment());
}

} // namespace platform
