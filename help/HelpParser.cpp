// SPDX-License-Identifier: GPL-3.0-or-later
// The help parser: walks the file's text once and builds each topic's model
// (headings, paragraphs, lists, tables, spans, links) from the tags it
// knows, within the limits HelpFile.h sets, and finds topics by number.
#include "HelpFile.h"

#include <QUrl>

#include <array>

#include "HelpParts.h"

using namespace Qt::StringLiterals;

namespace help {

namespace {

// Text that a help file may hold: any character but the control ones that
// never appear in a written page (NUL above all, which binary files are full of).
bool isPlainText(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f') {
            return false;
        }
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
    explicit TopicBuilder(HelpTopic &topic) : topic_(topic) {}

    void text(QStringView raw);
    void tag(const Tag &tag);
    void finish();

private:
    using Kind = HelpBlock::Kind;

    bool full() const { return topic_.cut; }
    void cut() { topic_.cut = true; }
    void closeBlock() { open_ = false; }
    // Inside a list item or a table cell a block only ends a line of it.
    void endBlockOrLine() {
        if (inContainer()) {
            lineBreak();
        } else {
            closeBlock();
        }
    }
    bool inContainer() const {
        return open_ && (current().kind == Kind::ListItem || current().kind == Kind::Cell);
    }
    HelpBlock &current() { return topic_.blocks.last(); }
    const HelpBlock &current() const { return topic_.blocks.last(); }
    bool openBlock(Kind kind, bool aside = false);
    void lineBreak();
    void appendText(const QString &piece);
    HelpSpan look() const;
    void append(QStringView piece) { append(piece, look()); }
    void append(QStringView piece, const HelpSpan &look);
    void space();
    int linkOf(QStringView href);
    HelpStyle style() const;

    HelpTopic &topic_;
    bool open_ = false;
    bool space_ = false; // a space is due before the next word
    HelpSpan spaceLook_; // in the look of the text it followed
    qsizetype text_ = 0;
    qsizetype spans_ = 0;
    qsizetype wordLength_ = 0; // letters since the last place to wrap
    qsizetype breaks_ = 0;
    qsizetype cells_ = 0;
    int rowCells_ = 0;

    int bold_ = 0;
    int italic_ = 0;
    int link_ = 0;
    // Classes of the open <span> elements; deeper ones are only counted.
    std::array<HelpStyle, 16> styles_{};
    int spanDepth_ = 0;

    int listDepth_ = 0;
    std::array<bool, kMaxListDepth + 1> numbered_{};
    bool newList_ = false;
    int tableDepth_ = 0;
    bool newTable_ = false;
    bool newRow_ = false;
};

bool TopicBuilder::openBlock(Kind kind, bool aside) {
    closeBlock();
    if (full()) {
        return false;
    }
    if (topic_.blocks.size() + breaks_ >= kMaxTopicBlocks ||
        (kind == Kind::Cell && cells_ >= kMaxTopicCells)) {
        cut();
        return false;
    }
    HelpBlock block;
    block.kind = kind;
    block.aside = aside;
    if (kind == Kind::ListItem) {
        block.depth = qBound(1, listDepth_, kMaxListDepth);
        block.numbered = numbered_[block.depth];
        block.newGroup = newList_;
        newList_ = false;
    }
    if (kind == Kind::Cell) {
        block.newGroup = newTable_;
        // A row wider than the window could show goes on below.
        block.newRow = newRow_ || newTable_ || rowCells_ >= kMaxRowCells;
        newTable_ = newRow_ = false;
        rowCells_ = block.newRow ? 1 : rowCells_ + 1;
        ++cells_;
    }
    topic_.blocks.append(block);
    open_ = true;
    space_ = false;
    wordLength_ = 0;
    return true;
}

void TopicBuilder::lineBreak() {
    if (!open_ || current().spans.isEmpty() || current().spans.last().text.endsWith(u'\n')) {
        return;
    }
    // Each line costs about as much as a block to lay out.
    if (topic_.blocks.size() + breaks_ >= kMaxTopicBlocks) {
        cut();
        return;
    }
    ++breaks_;
    space_ = false;
    append(u"\n");
    wordLength_ = 0;
}

HelpStyle TopicBuilder::style() const {
    for (int i = qMin<int>(spanDepth_, int(styles_.size())) - 1; i >= 0; --i) {
        if (styles_[i] != HelpStyle::Plain) {
            return styles_[i];
        }
    }
    return HelpStyle::Plain;
}

HelpSpan TopicBuilder::look() const {
    HelpSpan look;
    look.bold = bold_ > 0;
    look.italic = italic_ > 0;
    look.style = style();
    look.link = link_;
    return look;
}

void TopicBuilder::space() {
    if (!space_) {
        spaceLook_ = look();
    }
    space_ = true;
}

// Adds a piece of text within the topic's limits.
void TopicBuilder::append(QStringView piece, const HelpSpan &look) {
    if (full() || piece.isEmpty()) {
        return;
    }
    if (text_ + piece.size() > kMaxTopicText) {
        piece = piece.first(kMaxTopicText - text_);
        cut();
    }
    text_ += piece.size();
    QList<HelpSpan> &spans = current().spans;
    if (!spans.isEmpty()) {
        const HelpSpan &last = spans.last();
        if (last.bold == look.bold && last.italic == look.italic && last.style == look.style &&
            last.link == look.link) {
            spans.last().text += piece;
            return;
        }
    }
    if (spans_ >= kMaxTopicSpans) {
        cut();
        return;
    }
    ++spans_;
    HelpSpan span = look;
    span.text = piece.toString();
    spans.append(std::move(span));
}

// One word (or a run of words joined by non-breaking spaces). A word far
// longer than any French one is given places to wrap, so that it costs no
// more to lay out than ordinary text.
void TopicBuilder::appendText(const QString &word) {
    if (!open_) {
        if (!openBlock(tableDepth_ > 0  ? Kind::Cell
                       : listDepth_ > 0 ? Kind::ListItem
                                        : Kind::Paragraph)) {
            return;
        }
    }
    if (space_ && !current().spans.isEmpty() && !current().spans.last().text.endsWith(u'\n')) {
        append(u" ", spaceLook_);
        wordLength_ = 0;
    }
    space_ = false;
    qsizetype from = 0;
    while (from < word.size() && !full()) {
        const qsizetype room = kMaxWordLength - wordLength_;
        if (word.size() - from <= room) {
            append(QStringView(word).sliced(from));
            wordLength_ += word.size() - from;
            return;
        }
        append(QStringView(word).sliced(from, room));
        append(u"\u200B");
        from += room;
        wordLength_ = 0;
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
                    if (!word.isEmpty()) {
                        appendText(word);
                    }
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
    if (!word.isEmpty()) {
        appendText(word);
    }
}

int TopicBuilder::linkOf(QStringView href) {
    const QString address = attributeText(href).trimmed();
    if (address.startsWith(u'#')) {
        if (const std::optional<int> n = topicNumber(QStringView(address).sliced(1))) {
            return *n;
        }
    }
    // An address out of the file is shown when the player tries it, cut to
    // a length that fits the window.
    if (topic_.outsideLinks.size() >= 100) {
        return -int(topic_.outsideLinks.size());
    }
    topic_.outsideLinks.append(address.left(200));
    return -int(topic_.outsideLinks.size());
}

void TopicBuilder::tag(const Tag &t) {
    if (full()) {
        return;
    }
    const TagKind kind = kindOfTag(t.name);
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
            if (tableDepth_ > 0) {
                break;
            }
            closeBlock();
            listDepth_ = qMax(0, listDepth_ - 1);
            break;
        case TagKind::ListItem:
            if (tableDepth_ == 0) {
                closeBlock();
            }
            break;
        case TagKind::Table:
            if (tableDepth_ == 1) {
                closeBlock();
            }
            tableDepth_ = qMax(0, tableDepth_ - 1);
            break;
        case TagKind::Row:
        case TagKind::Cell:
        case TagKind::HeaderCell:
            if (tableDepth_ <= 1) {
                closeBlock();
            }
            break;
        case TagKind::Bold:
            bold_ = qMax(0, bold_ - 1);
            break;
        case TagKind::Italic:
            italic_ = qMax(0, italic_ - 1);
            break;
        case TagKind::Span:
            spanDepth_ = qMax(0, spanDepth_ - 1);
            break;
        case TagKind::Anchor:
            link_ = 0;
            break;
        default:
            break;
        }
        return;
    }

    switch (kind) {
    case TagKind::Heading1:
    case TagKind::Heading2:
        if (inContainer()) {
            lineBreak();
        } else {
            openBlock(kind == TagKind::Heading1 ? Kind::Heading1 : Kind::Heading2);
        }
        break;
    case TagKind::Paragraph:
        if (inContainer()) {
            lineBreak();
        } else {
            openBlock(Kind::Paragraph, styleOfClass(t.cssClass) == HelpStyle::Aside);
        }
        break;
    case TagKind::Break:
        if (open_) {
            lineBreak();
        }
        break;
    case TagKind::Division:
        endBlockOrLine();
        break;
    case TagKind::ListUnordered:
    case TagKind::ListOrdered:
        // A list inside a table reads as lines of its cell.
        if (tableDepth_ > 0) {
            lineBreak();
            break;
        }
        closeBlock();
        ++listDepth_;
        if (listDepth_ <= kMaxListDepth) {
            numbered_[listDepth_] = kind == TagKind::ListOrdered;
            newList_ = true;
        }
        break;
    case TagKind::ListItem:
        if (tableDepth_ > 0) {
            lineBreak();
        } else {
            openBlock(Kind::ListItem);
        }
        break;
    case TagKind::Table:
        ++tableDepth_;
        if (tableDepth_ == 1) {
            closeBlock();
            newTable_ = true;
        } else {
            lineBreak();
        }
        break;
    case TagKind::Row:
        if (tableDepth_ <= 1) {
            closeBlock();
            newRow_ = true;
        } else {
            lineBreak();
        }
        break;
    case TagKind::Cell:
    case TagKind::HeaderCell:
        if (tableDepth_ > 1) {
            space();
        } else if (openBlock(Kind::Cell)) {
            current().header = kind == TagKind::HeaderCell;
        }
        break;
    case TagKind::Bold:
        ++bold_;
        break;
    case TagKind::Italic:
        ++italic_;
        break;
    case TagKind::Span:
        if (spanDepth_ < int(styles_.size())) {
            styles_[spanDepth_] = styleOfClass(t.cssClass);
        }
        ++spanDepth_;
        break;
    case TagKind::Anchor:
        link_ = t.hasHref ? linkOf(t.href) : 0;
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
    for (HelpBlock &b : topic_.blocks) {
        if (!b.spans.isEmpty() && b.spans.last().text.endsWith(u'\n')) {
            b.spans.last().text.chop(1);
            if (b.spans.last().text.isEmpty()) {
                b.spans.removeLast();
            }
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
    topic_.blocks = std::move(kept);
    for (const HelpBlock &b : topic_.blocks) {
        if (b.kind == Kind::Heading1) {
            QString title;
            for (const HelpSpan &s : b.spans) {
                title += s.text;
            }
            title.remove(QChar(0x200B));
            topic_.title = title.simplified().left(200);
            break;
        }
    }
    if (topic_.title.isEmpty()) {
        topic_.title = u"Rubrique %1"_s.arg(topic_.context);
    }
}

// Walks through the file once, handing text and tags to the topic they
// belong to. Every search goes forward from where the last one stopped, so
// the work grows with the file's size only.
class Scanner {
public:
    Scanner(QStringView text, QMap<int, HelpTopic> &topics) : text_(text), topics_(topics) {}
    void run();

private:
    qsizetype readTag(qsizetype at);
    qsizetype skipRawText(qsizetype from, QStringView name);
    void startTopic(int context);
    void finishTopic();

    QStringView text_;
    QMap<int, HelpTopic> &topics_;
    std::optional<HelpTopic> topic_;
    std::optional<TopicBuilder> builder_;
};

void Scanner::startTopic(int context) {
    finishTopic();
    // A number given twice keeps its first topic: links and the game's
    // request then agree on what they open.
    if (topics_.contains(context)) {
        return;
    }
    topic_.emplace();
    topic_->context = context;
    builder_.emplace(*topic_);
}

void Scanner::finishTopic() {
    if (!topic_) {
        return;
    }
    builder_->finish();
    builder_.reset();
    const int context = topic_->context;
    topics_.insert(context, std::move(*topic_));
    topic_.reset();
}

qsizetype Scanner::skipRawText(qsizetype from, QStringView name) {
    const QString end = u"</"_s + name.toString();
    const qsizetype at = text_.indexOf(end, from, Qt::CaseInsensitive);
    if (at < 0) {
        return text_.size();
    }
    const qsizetype close = text_.indexOf(u'>', at);
    return close < 0 ? text_.size() : close + 1;
}

// Reads the tag that opens at text_[at] ('<' then a letter, or "</").
// Returns where the text goes on; a tag cut by the end of the topic's text
// is dropped, as a browser drops it.
qsizetype Scanner::readTag(qsizetype at) {
    const qsizetype n = text_.size();
    Tag t;
    qsizetype i = at + 1;
    if (text_[i] == u'/') {
        t.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < n && !isSpace(text_[i]) && text_[i] != u'>' && text_[i] != u'/') {
        ++i;
    }
    t.name = text_.sliced(nameStart, i - nameStart);
    while (true) {
        while (i < n && (isSpace(text_[i]) || text_[i] == u'/')) {
            ++i;
        }
        if (i >= n) {
            return n;
        }
        if (text_[i] == u'>') {
            break;
        }
        const qsizetype attrStart = i;
        while (i < n && !isSpace(text_[i]) && text_[i] != u'>' && text_[i] != u'=' &&
               text_[i] != u'/') {
            ++i;
        }
        const QStringView attr = text_.sliced(attrStart, i - attrStart);
        while (i < n && isSpace(text_[i])) {
            ++i;
        }
        QStringView value;
        if (i < n && text_[i] == u'=') {
            ++i;
            while (i < n && isSpace(text_[i])) {
                ++i;
            }
            if (i >= n) {
                return n;
            }
            if (text_[i] == u'"' || text_[i] == u'\'') {
                const qsizetype close = text_.indexOf(text_[i], i + 1);
                if (close < 0) {
                    return n;
                }
                value = text_.sliced(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(text_[i]) && text_[i] != u'>') {
                    ++i;
                }
                value = text_.sliced(valueStart, i - valueStart);
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
    if (!t.closing && kindOfTag(t.name) == TagKind::RawText) {
        return skipRawText(next, t.name);
    }
    if (builder_) {
        builder_->tag(t);
    }
    return next;
}

void Scanner::run() {
    const qsizetype n = text_.size();
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype lt = text_.indexOf(u'<', pos);
        const qsizetype textEnd = lt < 0 ? n : lt;
        if (builder_ && textEnd > pos) {
            builder_->text(text_.sliced(pos, textEnd - pos));
        }
        if (lt < 0) {
            break;
        }
        const QStringView rest = text_.sliced(lt, qMin<qsizetype>(4, n - lt));
        if (rest == u"<!--") {
            const qsizetype end = text_.indexOf(u"-->", lt + 4);
            pos = end < 0 ? n : end + 3;
        } else if (rest.size() > 1 && (rest[1] == u'!' || rest[1] == u'?')) {
            const qsizetype end = text_.indexOf(u'>', lt);
            pos = end < 0 ? n : end + 1;
        } else if (rest.size() > 1 &&
                   (isAsciiLetter(rest[1]) ||
                    (rest[1] == u'/' && rest.size() > 2 && isAsciiLetter(rest[2])))) {
            pos = readTag(lt);
        } else {
            if (builder_) {
                builder_->text(u"<");
            }
            pos = lt + 1;
        }
    }
    finishTopic();
}

} // namespace

QString HelpTopic::plainText() const {
    QString out;
    for (const HelpBlock &b : blocks) {
        for (const HelpSpan &s : b.spans) {
            out += s.text;
        }
        out += u'\n';
    }
    out.remove(QChar(0x200B));
    return out;
}

HelpFile HelpFile::parse(const QString &path, const QString &text) {
    HelpFile help;
    help.path_ = path;
    if (!isPlainText(text)) {
        help.error_ = notHelpText(path);
        return help;
    }
    Scanner(text, help.topics_).run();
    if (help.topics_.isEmpty()) {
        help.error_ =
            u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient aucune rubrique."_s
                .arg(quotedPath(path));
    }
    return help;
}

const HelpTopic *HelpFile::topic(int context) const {
    const auto it = topics_.constFind(context);
    return it == topics_.cend() ? nullptr : &*it;
}

QString HelpFile::missingTopicMessage(int context) const {
    return u"La rubrique n° %1 n'existe pas dans le fichier d'aide %2."_s.arg(context).arg(
        quotedPath(path_));
}

std::optional<int> contextOfLink(const QUrl &link) {
    if (!link.isRelative() || !link.host().isEmpty() || !link.path().isEmpty() || link.hasQuery() ||
        !link.hasFragment()) {
        return std::nullopt;
    }
    return topicNumber(link.fragment());
}

} // namespace help
