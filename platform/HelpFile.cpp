#include "HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocumentFragment>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

// French quotation marks hold their text with non-breaking spaces, so that a
// long path never leaves a lone « at the end of a line.
QString quoted(const QString &path) {
    return u"\u00AB\u00A0%1\u00A0\u00BB"_s.arg(QDir::toNativeSeparators(path));
}

const QRegularExpression &topicAnchor() {
    static const QRegularExpression re(uR"(<a\s+name\s*=\s*(["'])sujet-(\d{1,9})\1[^>]*>)"_s,
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString titleOf(const QString &html) {
    static const QRegularExpression heading(uR"(<h1\b[^>]*>(.*?)</h1\s*>)"_s,
                                            QRegularExpression::CaseInsensitiveOption |
                                                QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(u"<[^>]*>"_s);
    const QRegularExpressionMatch m = heading.match(html);
    if (!m.hasMatch())
        return {};
    // The tags go first, so that turning the entities into characters can't
    // make the fragment ask for a picture or a style sheet.
    QString inner = m.captured(1);
    inner.remove(tag);
    return QTextDocumentFragment::fromHtml(inner).toPlainText().simplified();
}

// Text that a help file may hold: any character but the control ones that
// never appear in a written page (NUL above all, which binary files are full of).
bool isPlainText(const QString &text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f')
            return false;
    }
    return true;
}

} // namespace

HelpFile HelpFile::parse(const QString &path, const QString &text) {
    HelpFile help;
    help.m_path = path;

    const QString shown = quoted(path);
    if (!isPlainText(text)) {
        help.m_error =
            u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient pas de texte lisible."_s
                .arg(shown);
        return help;
    }

    // Comments are notes for whoever edits the file: an anchor written in
    // one opens no topic.
    static const QRegularExpression comment(u"<!--.*?-->"_s,
                                            QRegularExpression::DotMatchesEverythingOption);
    QString body = text;
    body.remove(comment);

    QList<QRegularExpressionMatch> anchors;
    for (QRegularExpressionMatchIterator it = topicAnchor().globalMatch(body); it.hasNext();)
        anchors.append(it.next());

    for (qsizetype i = 0; i < anchors.size(); ++i) {
        const qsizetype start = anchors[i].capturedStart();
        const qsizetype end = i + 1 < anchors.size() ? anchors[i + 1].capturedStart() : body.size();
        const int context = anchors[i].captured(2).toInt();
        // A number given twice keeps its first topic: links and the game's
        // request then agree on what they open.
        if (help.m_topics.contains(context))
            continue;
        HelpTopic topic;
        topic.context = context;
        topic.html = body.mid(start, end - start);
        topic.title = titleOf(topic.html);
        if (topic.title.isEmpty())
            topic.title = u"Rubrique %1"_s.arg(context);
        help.m_topics.insert(context, topic);
    }

    if (help.m_topics.isEmpty()) {
        help.m_error =
            u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient aucune rubrique."_s
                .arg(shown);
    }
    return help;
}

HelpFile HelpFile::read(const QString &path) {
    HelpFile help;
    help.m_path = path;
    const QString shown = quoted(path);
    const auto fail = [&help](const QString &message) {
        help.m_error = message;
        return help;
    };

    // QFileInfo follows links, so a link to a device or a pipe is turned
    // away here too: reading one of those could block the game for good.
    const QFileInfo info(path);
    if (!info.exists())
        return fail(u"Le fichier d'aide %1 est introuvable."_s.arg(shown));
    if (info.isDir())
        return fail(u"Le fichier d'aide %1 ne peut pas être lu : c'est un dossier."_s.arg(shown));
    if (!info.isFile()) {
        return fail(
            u"Le fichier d'aide %1 ne peut pas être lu : ce n'est pas un fichier ordinaire."_s.arg(
                shown));
    }
    if (info.size() > kMaxHelpFileSize)
        return fail(u"Le fichier %1 est trop volumineux pour être un fichier d'aide."_s.arg(shown));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!info.isReadable())
            return fail(u"Le fichier d'aide %1 ne peut pas être lu : accès refusé."_s.arg(shown));
        return fail(u"Le fichier d'aide %1 ne peut pas être ouvert."_s.arg(shown));
    }
    // One byte more than allowed tells a file that has grown since it was
    // measured.
    const QByteArray bytes = file.read(kMaxHelpFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(u"Le fichier d'aide %1 ne peut pas être lu."_s.arg(shown));
    if (bytes.size() > kMaxHelpFileSize)
        return fail(u"Le fichier %1 est trop volumineux pour être un fichier d'aide."_s.arg(shown));

    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        return fail(
            u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient pas de texte lisible."_s
                .arg(shown));
    }
    return parse(path, text);
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
    static const QRegularExpression internal(u"^sujet-(\\d{1,9})$"_s,
                                             QRegularExpression::CaseInsensitiveOption);
    if (!link.isRelative() || !link.host().isEmpty() || !link.path().isEmpty() || link.hasQuery() ||
        !link.hasFragment())
        return std::nullopt;
    const QRegularExpressionMatch m = internal.match(link.fragment());
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt();
}

} // namespace platform
