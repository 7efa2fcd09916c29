#include "HelpViewer.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

// The topic the game opens, and where "Sommaire" leads.
constexpr int kContentsContext = 1;

// A browser that loads nothing: a help file is a page of text, and whatever
// it names (a picture, a style sheet, a file elsewhere on the disk, an
// address on a network) stays where it is. An empty answer, rather than none,
// also keeps the document from going to look for the file itself.
class ClosedBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl &) override { return QByteArray(); }
};

const QString &pageStyle() {
    static const QString css = uR"(
        h1 { color: #173a7a; font-size: x-large; font-weight: bold; margin-bottom: 10px; }
        h2 { color: #173a7a; font-size: large; font-weight: bold; margin-top: 16px;
             margin-bottom: 4px; }
        p { margin-top: 4px; margin-bottom: 6px; }
        li { margin-bottom: 3px; }
        a { color: #1b5fb0; }
        .commande { font-weight: bold; color: #5a2d0c; }
        .message { font-weight: bold; color: #9c1c1c; }
        .remarque { color: #555555; font-style: italic; }
        .erreur { color: #9c1c1c; font-weight: bold; }
        table { border-collapse: collapse; border-color: #b9c3d3; margin-top: 6px; }
        th { background-color: #e6ecf6; color: #173a7a; }
        th, td { border-width: 1px; border-style: solid; border-color: #c5cdda; }
    )"_s;
    return css;
}

} // namespace

void showHelp(const QString &helpFile, int context) {
    HelpViewer::instance()->open(helpFile, context);
}

HelpViewer *HelpViewer::instance() {
    static QPointer<HelpViewer> viewer;
    if (!viewer) {
        viewer = new HelpViewer;
        // A widget must not outlive the application object; the window goes
        // as soon as the game's event loop is over.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] { delete viewer.data(); });
    }
    return viewer;
}

HelpViewer::HelpViewer() : QWidget(nullptr, Qt::Window) {
    setWindowTitle(u"Aide de Veltrano"_s);
    setObjectName(u"aide"_s);
    // Closing the game's main window ends the game even while its help is
    // still open beside it.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 620);

    m_contentsButton = new QPushButton(u"Sommaire"_s, this);
    m_backButton = new QPushButton(u"Précédent"_s, this);
    auto *closeButton = new QPushButton(u"Fermer"_s, this);
    for (QPushButton *b : {m_contentsButton, m_backButton, closeButton})
        b->setAutoDefault(false);
    m_contentsButton->setToolTip(u"Revenir au sommaire de l'aide"_s);
    m_backButton->setToolTip(u"Revenir à la rubrique lue auparavant"_s);

    m_browser = new ClosedBrowser(this);
    // Links are followed here, one by one, and never handed to the desktop.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->document()->setDefaultStyleSheet(pageStyle());
    m_browser->document()->setDocumentMargin(14);
    // A page meant to be read at leisure: a little larger than the buttons.
    QFont pageFont = m_browser->font();
    pageFont.setPointSizeF(pageFont.pointSizeF() + 1.5);
    m_browser->document()->setDefaultFont(pageFont);

    m_notice = new QLabel(this);
    m_notice->setWordWrap(true);
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setStyleSheet(u"color: #9c1c1c; padding: 2px 4px;"_s);
    m_notice->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_contentsButton);
    buttons->addWidget(m_backButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    layout->addWidget(m_notice);

    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    connect(m_contentsButton, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(m_backButton, &QPushButton::clicked, this, &HelpViewer::goBack);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, this,
            &HelpViewer::goBack);

    updateButtons();
}

void HelpViewer::open(const QString &helpFile, int context) {
    m_file = HelpFile::read(helpFile);
    m_history.clear();
    setNotice({});

    const QString fileName = QFileInfo(helpFile).fileName();
    if (!m_file.isValid()) {
        const bool missing = !QFileInfo::exists(helpFile);
        const QString advice =
            missing
                ? u"L'aide est cherchée dans le dossier d'où Veltrano a été lancé. Vérifiez que "
                  u"le fichier %1 s'y trouve, puis demandez l'aide de nouveau."_s.arg(fileName)
                : u"Remettez à sa place le fichier %1 livré avec le jeu, puis demandez l'aide "
                  u"de nouveau."_s.arg(fileName);
        showFailure(u"Aide indisponible"_s, m_file.error(), advice);
    } else if (!m_file.topic(context)) {
        showFailure(u"Rubrique introuvable"_s, m_file.missingTopicMessage(context), {});
    } else {
        showTopic(context);
    }

    placeBesideMainWindow();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

QString HelpViewer::currentTitle() const {
    const HelpTopic *topic = m_context ? m_file.topic(m_context) : nullptr;
    return topic ? topic->title : QString();
}

QString HelpViewer::displayedText() const {
    return m_browser->toPlainText();
}

QString HelpViewer::notice() const {
    return m_notice->text();
}

void HelpViewer::followLink(const QUrl &link) {
    const std::optional<int> context = contextOfLink(link);
    if (!context || !m_file.topic(*context)) {
        setNotice(u"Ce lien ne mène à aucune rubrique de l'aide ; il n'a pas été suivi : %1"_s.arg(
            link.toDisplayString()));
        return;
    }
    if (m_context != 0 && m_context != *context)
        m_history.append(m_context);
    showTopic(*context);
}

void HelpViewer::goBack() {
    if (m_history.isEmpty())
        return;
    showTopic(m_history.takeLast());
}

void HelpViewer::showContents() {
    if (!m_file.isValid())
        return;
    const int contents =
        m_file.topic(kContentsContext) ? kContentsContext : m_file.contexts().first();
    followLink(QUrl(u"#sujet-%1"_s.arg(contents)));
}

void HelpViewer::showTopic(int context) {
    const HelpTopic *topic = m_file.topic(context);
    if (!topic)
        return;
    m_context = context;
    m_error.clear();
    setNotice({});
    m_browser->setHtml(topic->html);
    m_browser->verticalScrollBar()->setValue(0);
    updateButtons();
}

void HelpViewer::showFailure(const QString &heading, const QString &message,
                             const QString &advice) {
    m_context = 0;
    m_error = message;
    QString page = u"<h1>%1</h1><p class=\"erreur\">%2</p>"_s.arg(heading.toHtmlEscaped(),
                                                                  message.toHtmlEscaped());
    if (!advice.isEmpty())
        page += u"<p>%1</p>"_s.arg(advice.toHtmlEscaped());
    // The file itself may still be good for something: offer its contents.
    if (m_file.isValid()) {
        const int contents =
            m_file.topic(kContentsContext) ? kContentsContext : m_file.contexts().first();
        page += u"<p><a href=\"#sujet-%1\">Afficher le sommaire de l'aide</a></p>"_s.arg(contents);
    }
    m_browser->setHtml(page);
    updateButtons();
}

void HelpViewer::setNotice(const QString &text) {
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

void HelpViewer::updateButtons() {
    m_contentsButton->setEnabled(m_file.isValid());
    m_backButton->setEnabled(!m_history.isEmpty());
}

// The first time it opens, the help stands beside the game's window, to its
// right or else to its left, when the screen has room for it there, so that
// the board stays in view. Otherwise the window system places it.
void HelpViewer::placeBesideMainWindow() {
    if (m_placed)
        return;
    m_placed = true;
    QWidget *game = QApplication::activeWindow();
    if (!game || game == this) {
        game = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w != this && w->isVisible() && w->windowType() == Qt::Window) {
                game = w;
                break;
            }
        }
    }
    if (!game)
        return;
    constexpr int gap = 12;
    const QRect area = game->screen()->availableGeometry();
    const QRect beside = game->frameGeometry();
    const int top = qBound(area.top(), beside.top(), qMax(area.top(), area.bottom() - height()));
    for (const int left : {beside.right() + gap, beside.left() - gap - width()}) {
        if (area.contains(QRect(QPoint(left, top), size()))) {
            move(left, top);
            return;
        }
    }
}

} // namespace platform
