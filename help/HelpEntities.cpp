// SPDX-License-Identifier: GPL-3.0-or-later
// Character references in the help's text and attributes: the named ones a
// French text is likely to use, and numbered ones, decimal or hexadecimal.
// Control characters read as spaces; numbers that name no character read
// as the replacement character.
#include "HelpParts.h"

#include <array>

namespace help {

namespace {

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
        if (e.name.size() == name.size() && e.name == name) {
            return e.c;
        }
    }
    return 0;
}

} // namespace

qsizetype decodeReference(QStringView text, qsizetype at, QString &out) {
    const qsizetype semicolon =
        text.sliced(at, qMin<qsizetype>(12, text.size() - at)).indexOf(u';');
    if (semicolon < 2) {
        return 0;
    }
    const QStringView body = text.sliced(at + 1, semicolon - 1);
    if (body.front() != u'#') {
        const char16_t c = namedCharacter(body);
        if (!c) {
            return 0;
        }
        out += QChar(c);
        return semicolon + 1;
    }
    const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
    bool ok = false;
    const uint code = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok) {
        return 0;
    }
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
        out += u' '; // a control character reads as a space
    } else if (code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
        out += QChar(QChar::ReplacementCharacter);
    } else {
        const char32_t c = code;
        out += QString::fromUcs4(&c, 1);
    }
    return semicolon + 1;
}

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

} // namespace help
