// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "HelpPage.h"

using namespace Qt::StringLiterals;

namespace help {

namespace {

// The topic the game opens, and where "Sommaire" leads.
constexpr int kContentsContext = 1;

// The page is built from text and tags of our own and names nothing; should
// it ever name something, the browser loads nothing all the same.
class ClosedBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl &) override { return QByteArray(); }
};

// The pages a player walks back through with "Précédent"; more than anyone
// remembers.
constexpr qsizetype kMaxHistory = 200;

} // namespace

void showHelp(const QString &helpFile, int context, QWidget *game, int folder) {
    HelpViewer::instance()->open(helpFile, context, game, folder);
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

    contentsButton_ = new QPushButton(u"Sommaire"_s, this);
    backButton_ = new QPushButton(u"Précédent"_s, this);
    auto *closeButton = new QPushButton(u"Fermer"_s, this);
    for (QPushButton *b : {contentsButton_, backButton_, closeButton}) {
        b->setAutoDefault(false);
    }
    contentsButton_->setToolTip(u"Revenir au sommaire de l'aide"_s);
    backButton_->setToolTip(u"Revenir à la rubrique lue auparavant"_s);

    browser_ = new ClosedBrowser(this);
    // Links are followed here, one by one, and never handed to the desktop.
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    prepareHelpDocument(browser_->document(), browser_->font());

    notice_ = new QLabel(this);
    notice_->setWordWrap(true);
    notice_->setTextFormat(Qt::PlainText);
    notice_->setStyleSheet(u"color: #9c1c1c; padding: 2px 4px;"_s);
    notice_->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton_);
    buttons->addWidget(backButton_);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    layout->addWidget(notice_);

    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    connect(contentsButton_, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(backButton_, &QPushButton::clicked, this, &HelpViewer::goBack);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, this,
            &HelpViewer::goBack);

    updateButtons();
}

void HelpViewer::open(const QString &helpFile, int context, QWidget *game, int folder) {
    file_ = HelpFile::read(helpFile, folder);
    history_.clear();
    setNotice({});

    const QString fileName = QFileInfo(helpFile).fileName();
    if (!file_.isValid()) {
        const QString advice =
            file_.isMissing()
                ? u"L'aide est cherchée dans le dossier d'où Veltrano a été lancé. Vérifiez que "
                  u"le fichier %1 s'y trouve, puis demandez l'aide de nouveau."_s.arg(fileName)
                : u"Remettez à sa place le fichier %1 livré avec le jeu, puis demandez l'aide "
                  u"de nouveau."_s.arg(fileName);
        showFailure(u"Aide indisponible"_s, file_.error(), advice);
    } else if (!file_.topic(context)) {
        showFailure(u"Rubrique introuvable"_s, file_.missingTopicMessage(context), {});
    } else {
        showTopic(context);
    }

    placeBeside(game);
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

QString HelpViewer::currentTitle() const {
    const HelpTopic *topic = context_ ? file_.topic(context_) : nullptr;
    return topic ? topic->title : QString();
}

QString HelpViewer::displayedText() const {
    return browser_->toPlainText();
}

QString HelpViewer::notice() const {
    return notice_->text();
}

void HelpViewer::followLink(const QUrl &link) {
    const std::optional<int> context = contextOfLink(link);
    if (!context || !file_.topic(*context)) {
        // A link out of the file is shown as the file wrote it.
        const HelpTopic *topic = context_ ? file_.topic(context_) : nullptr;
        QString address = topic ? outsideLinkOf(*topic, link.fragment()) : QString();
        if (address.isEmpty()) {
            address = link.toDisplayString();
        }
        setNotice(u"Ce lien ne mène à aucune rubrique de l'aide ; il n'a pas été suivi : %1"_s.arg(
            address));
        return;
    }
    if (context_ != 0 && context_ != *context) {
        history_.append(context_);
        if (history_.size() > kMaxHistory) {
            history_.removeFirst();
        }
    }
    showTopic(*context);
}

void HelpViewer::goBack() {
    if (history_.isEmpty()) {
        return;
    }
    showTopic(history_.takeLast());
}

void HelpViewer::showContents() {
    if (!file_.isValid()) {
        return;
    }
    const int contents =
        file_.topic(kContentsContext) ? kContentsContext : file_.contexts().first();
    followLink(QUrl(u"#sujet-%1"_s.arg(contents)));
}

void HelpViewer::showTopic(int context) {
    const HelpTopic *topic = file_.topic(context);
    if (!topic) {
        return;
    }
    context_ = context;
    error_.clear();
    setNotice({});
    browser_->setHtml(helpPageHtml(*topic));
    browser_->verticalScrollBar()->setValue(0);
    updateButtons();
}

void HelpViewer::showFailure(const QString &heading, const QString &message,
                             const QString &advice) {
    context_ = 0;
    error_ = message;
    QString page = u"<h1>%1</h1><p class=\"erreur\">%2</p>"_s.arg(heading.toHtmlEscaped(),
                                                                  message.toHtmlEscaped());
    if (!advice.isEmpty()) {
        page += u"<p>%1</p>"_s.arg(advice.toHtmlEscaped());
    }
    // The file itself may still be good for something: offer its contents.
    if (file_.isValid()) {
        const int contents =
            file_.topic(kContentsContext) ? kContentsContext : file_.contexts().first();
        page += u"<p><a href=\"#sujet-%1\">Afficher le sommaire de l'aide</a></p>"_s.arg(contents);
    }
    browser_->setHtml(page);
    updateButtons();
}

void HelpViewer::setNotice(const QString &text) {
    notice_->setText(text);
    notice_->setVisible(!text.isEmpty());
}

void HelpViewer::updateButtons() {
    contentsButton_->setEnabled(file_.isValid());
    backButton_->setEnabled(!history_.isEmpty());
}

QRect helpWindowPlace(const QRect &area, const QRect &game, const QSize &help) {
    constexpr int gap = 12;
    // Narrower than this, a page of help is more scrolling than reading. It
    // leaves room on either side of the game centred on a 1600-pixel screen.
    constexpr int narrowest = 440;
    const QSize size = help.boundedTo(area.size());
    if (game.isValid()) {
        const int top = qBound(area.top(), game.top(), area.top() + area.height() - size.height());
        const int roomRight = area.left() + area.width() - (game.left() + game.width() + gap);
        const int roomLeft = game.left() - gap - area.left();
        if (roomRight >= qMin(narrowest, size.width())) {
            return {QPoint(game.left() + game.width() + gap, top),
                    QSize(qMin(roomRight, size.width()), size.height())};
        }
        if (roomLeft >= qMin(narrowest, size.width())) {
            const int width = qMin(roomLeft, size.width());
            return {QPoint(game.left() - gap - width, top), QSize(width, size.height())};
        }
    }
    QRect centred(QPoint(), size);
    centred.moveCenter(area.center());
    return centred;
}

// The first time it opens, the help stands beside the game's window, to its
// right or else to its left, so that the board stays in view; on a screen
// too small for that, it is centred. Never left where the window system
// would put it, over the board at the screen's corner. After that it stays
// where it is, or where the player moves it.
void HelpViewer::placeBeside(QWidget *game) {
    if (placed_) {
        return;
    }
    placed_ = true;
    if (!game || game == this) {
        game = QApplication::activeWindow();
    }
    if (!game || game == this) {
        game = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w != this && w->isVisible() && w->windowType() == Qt::Window) {
                game = w;
                break;
            }
        }
    }
    game = game ? game->window() : nullptr;
    QScreen *screen = game ? game->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    // The window system adds the same frame to both windows.
    const QRect gameFrame = game ? game->frameGeometry() : QRect();
    const QSize frame = game ? gameFrame.size() - game->size() : QSize(0, 0);
    const QRect place = helpWindowPlace(screen->availableGeometry(), gameFrame, size() + frame);
    resize(place.size() - frame);
    move(place.topLeft());
}

} // namespace help
