// SPDX-License-Identifier: GPL-3.0-or-later
// The table of tags the help reader knows, with what each becomes, the span
// classes that give text a look, and the name of a topic's anchor. Any other
// tag is dropped and its text kept.
#include "HelpParts.h"

#include <array>

namespace help {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

// Quicker than Qt's Unicode comparison, which the scanner would
// otherwise spend most of its time in.
bool isName(QStringView name, QStringView known) {
    if (name.size() != known.size()) {
        return false;
    }
    for (qsizetype i = 0; i < name.size(); ++i) {
        char16_t c = name[i].unicode();
        if (c >= u'A' && c <= u'Z') {
            c += u'a' - u'A';
        }
        if (c != known[i].unicode()) {
            return false;
        }
    }
    return true;
}

std::optional<int> topicNumber(QStringView name) {
    constexpr QStringView prefix = u"sujet-";
    if (!name.startsWith(prefix, Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    const QStringView digits = name.sliced(prefix.size());
    if (digits.isEmpty() || digits.size() > 9) {
        return std::nullopt;
    }
    int n = 0;
    for (QChar c : digits) {
        if (!isAsciiDigit(c)) {
            return std::nullopt;
        }
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

TagKind kindOfTag(QStringView name) {
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
        if (isName(name, k.name)) {
            return k.kind;
        }
    }
    return TagKind::Ignored;
}

HelpStyle styleOfClass(QStringView cssClass) {
    const QString c = cssClass.trimmed().toString().toLower();
    if (c == u"commande") {
        return HelpStyle::Command;
    }
    if (c == u"message") {
        return HelpStyle::Message;
    }
    if (c == u"remarque") {
        return HelpStyle::Aside;
    }
    return HelpStyle::Plain;
}

} // namespace help
