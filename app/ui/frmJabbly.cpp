// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmJabbly.h"

#include "session/Logging.h"
#include "ui/Logging.h"
#include "session/AboutText.h"
#include "ui/HelpWindow.h"
#include "ui/Accessibility.h"
#include "ui/AnswerNotice.h"
#include "ui/CaptionFit.h"
#include "ui/KeptSelection.h"
#include "ui/MenuBarEscape.h"
#include "ui/ComboTool.h"
#include "ui/DocumentLauncher.h"
#include "ui/SaveDialog.h"
#include "ui/SingleLineValidator.h"
#include "ui/TranscriptExport.h"
#include "ui/WindowPlacement.h"
#include "ui/frmAddeditems.h"
#include "ui/frmFontSize.h"
#include "ui/frmVoice.h"
#include "jabbly/icons.h"
#include "jabbly/version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace jabbly {

namespace {

QFont transcriptFont()
{
    QFont font(QStringLiteral("Lucida Console"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(11.25);
    return font;
}

// The window's icon, decoded as PNG outright: guessing the format would load every image
// plug-in (and libjpeg) first. Only the sizes up to `largest`.
QIcon jabblyIcon(int largest)
{
    QIcon icon;
    for (const int size : icons::Sizes)
        if (size <= largest)
            icon.addPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/icons/jabbly%1.png").arg(size), "PNG")));
    return icon;
}

// The sizes title bars and task bars draw, which the window carries from its first frame
// on; the large ones, for task switchers, follow with the rest of start-up.
constexpr int LargestFirstIcon = 48;

const QString WordsCaptionHidden = QStringLiteral("View &words added this session...");
const QString WordsCaptionShown = QStringLiteral("Hide &words list");
const QString FontSizeCaptionHidden = QStringLiteral("&Font and size...");
const QString FontSizeCaptionShown = QStringLiteral("Hide &Font and size");
const QString SpeechCaptionHidden = QStringLiteral("Show &Speech Options...");
const QString SpeechCaptionShown = QStringLiteral("Hide &Speech Options");

}  // namespace

frmJabbly::frmJabbly(SessionServices services, WindowServices windowServices, QStringList arguments)
    : client_(new QWidget(this)),
      WW_(new QTextEdit(client_)),
      Name1_(new QLineEdit(client_)),
      Say1_(new QLineEdit(client_)),
      cmdSay_(new QPushButton(client_)),
      windowServices_(std::move(windowServices)),
      help_(this, windowServices_.helpDesktop),
      transcript_(WW_),
      input_(Say1_),
      arguments_(std::move(arguments))
{
    setObjectName(QStringLiteral("frmJabbly"));
    buildControls();
    buildMenus();
    placeAtDesignSize();
    session_ = std::make_unique<Session>(std::move(services), *this);
}

frmJabbly::~frmJabbly()
{
    // A window destroyed without being closed (the application quitting some other way)
    // still ends its run properly.
    Form_Unload();
}

void frmJabbly::buildControls()
{
    setWindowTitle(QStringLiteral("Jabbly"));
    setWindowIcon(jabblyIcon(LargestFirstIcon));
    setCentralWidget(client_);
    client_->installEventFilter(this);

    // The transcript's four text colours are fixed, so its background is too: white under
    // any desktop theme, like the two text boxes.
    QPalette boxColours;
    boxColours.setColor(QPalette::Base, Qt::white);
    boxColours.setColor(QPalette::Text, Qt::black);

    WW_->setObjectName(QStringLiteral("WW"));
    WW_->setFont(transcriptFont());
    WW_->setTabChangesFocus(true);
    WW_->setPalette(boxColours);

    Name1_->setObjectName(QStringLiteral("Name1"));
    Name1_->setText(QStringLiteral("Human"));
    Say1_->setObjectName(QStringLiteral("Say1"));
    // The line a turn left selected stays selected while a menu, a message or another
    // window has the keyboard, so the next line typed replaces it.
    keepSelectionWhileAway(*Say1_);
    for (QLineEdit *box : {Name1_, Say1_}) {
        // Room for a long pasted text or name; a line edit would otherwise cut it at 32,767
        // characters.
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setFont(transcriptFont());
        box->setPalette(boxColours);
        box->setValidator(new SingleLineValidator(box));
        // Enter in either box presses the window's default button.
        connect(box, &QLineEdit::returnPressed, cmdSay_, &QPushButton::click);
    }

    cmdSay_->setObjectName(QStringLiteral("cmdSay"));
    describeForScreenReaders(*WW_, QStringLiteral("Conversation"),
                             QStringLiteral("What you and Jabbly have said, newest line last"));
    describeForScreenReaders(*Name1_, QStringLiteral("Your name"),
                             QStringLiteral("The name your lines are shown under"));
    describeForScreenReaders(*Say1_, QStringLiteral("Your line"),
                             QStringLiteral("Type a line and press Enter to say it to Jabbly"));
    describeForScreenReaders(*cmdSay_, QStringLiteral("Say"), QStringLiteral("Says your line to Jabbly"));
    cmdSay_->setText(QStringLiteral("&Say"));
    cmdSay_->setDefault(true);
    connect(cmdSay_, &QPushButton::clicked, this, &frmJabbly::cmdSay_Click);
    // A screen reader hears each answer while the focus stays in the input box.
    auto *notice = new AnswerNotice(client_);
    transcript_.setAnswerListener([notice](const QString &said) { notice->announce(said); });

    setTabOrder(Say1_, WW_);
    setTabOrder(WW_, cmdSay_);
    setTabOrder(cmdSay_, Name1_);
    fitSayButton();
    applyLayout();
}

// The button keeps its design size where the desktop's font lets "Say" show whole; under
// a larger font it grows, and the layout rule works with its grown size.
void frmJabbly::fitSayButton()
{
    const TwipRect design = MainLayout().cmdSay;
    cmdSay_->resize(toPixels(design.width), toPixels(design.height));
    growToShowCaption(*cmdSay_);
    layout_.cmdSay.width = std::max(design.width, toTwips(cmdSay_->width()));
    layout_.cmdSay.height = std::max(design.height, toTwips(cmdSay_->height()));
}

void frmJabbly::buildMenus()
{
    struct Item {
        const char *name;
        QString caption;
        QKeySequence shortcut;
        void (frmJabbly::*handler)();
    };
    const auto addItems = [this](QMenu *menu, std::initializer_list<Item> items) {
        for (const Item &item : items) {
            if (item.caption == QLatin1String("-")) {
                menu->addSeparator()->setObjectName(QLatin1String(item.name));
                continue;
            }
            QAction *action = menu->addAction(item.caption);
            action->setObjectName(QLatin1String(item.name));
            action->setShortcut(item.shortcut);
            // The function keys work from the option windows too.
            action->setShortcutContext(Qt::ApplicationShortcut);
            connect(action, &QAction::triggered, this, [this, handler = item.handler] {
                // A function key pressed while a menu is open runs its command too; the
                // menu closes first.
                if (QWidget *popup = QApplication::activePopupWidget())
                    popup->close();
                finishLoad();
                (this->*handler)();
            });
        }
    };

    QMenu *mnuJabbly = menuBar()->addMenu(QStringLiteral("&Jabbly"));
    mnuJabbly->setObjectName(QStringLiteral("mnuJabbly"));
    leaveMenuBarOnEscape(*menuBar(), *mnuJabbly);
    addItems(mnuJabbly, {
                            {"mnuExport", QStringLiteral("&Export..."), Qt::Key_F2, &frmJabbly::mnuExport_Click},
                            {"mnuClear", QStringLiteral("&Clear..."), Qt::Key_F3, &frmJabbly::mnuClear_Click},
                            {"div3", QStringLiteral("-"), {}, nullptr},
                            {"mnuFontSize", FontSizeCaptionHidden, Qt::Key_F11, &frmJabbly::mnuFontSize_Click},
                            {"div2", QStringLiteral("-"), {}, nullptr},
                            {"mnuAI", WordsCaptionHidden, Qt::Key_F12, &frmJabbly::mnuAI_Click},
                            {"div4", QStringLiteral("-"), {}, nullptr},
                            {"mnuSpeech", SpeechCaptionHidden, Qt::Key_F9, &frmJabbly::mnuSpeech_Click},
                            {"Div1", QStringLiteral("-"), {}, nullptr},
                            {"mnuExit", QStringLiteral("&Exit"), Qt::Key_F4, &frmJabbly::mnuExit_Click},
                        });
    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    leaveMenuBarOnEscape(*menuBar(), *mnuHelp);
    addItems(mnuHelp, {
                          {"mnuContents", QStringLiteral("&Contents"), {}, &frmJabbly::mnuContents_Click},
                          {"mnuSF", QStringLiteral("&Send feedback..."), Qt::Key_F5, &frmJabbly::mnuSF_Click},
                          {"mnuAbout", QStringLiteral("&About..."), Qt::Key_F6, &frmJabbly::mnuAbout_Click},
                      });
}

QAction *frmJabbly::action(const char *name) const { return findChild<QAction *>(QLatin1String(name)); }

void frmJabbly::placeAtDesignSize()
{
    resize(toPixels(DesignClientWidth), toPixels(DesignClientHeight) + menuBar()->sizeHint().height());
    centreOnScreen(*this);
}

bool frmJabbly::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmJabbly::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitSayButton();
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::FontChange)
        Form_Resize();
}

void frmJabbly::Form_Resize()
{
    layout_.Form_Resize(toTwips(client_->width()), toTwips(client_->height()), isMinimized());
    applyLayout();
}

void frmJabbly::applyLayout()
{
    WW_->setGeometry(toPixels(layout_.WW));
    Name1_->setGeometry(toPixels(layout_.Name1));
    Say1_->setGeometry(toPixels(layout_.Say1));
    cmdSay_->setGeometry(toPixels(layout_.cmdSay));
}

bool frmJabbly::Form_Load()
{
    if (!loadBeforeShow())
        return false;
    finishLoad();
    return true;
}

// The steps keep their order among themselves, and the user sees them in it: steps 2, 4 and
// 6 (voices, words, seed word) show nothing until a command looks at them, so they wait for
// finishLoad(). What could tell the difference is kept: a missing cpu.txt still comes after
// the voices (their window writes the settings at shut-down), and a failed cpu.txt still
// leaves voice 1 current after the voice listing has picked its voice.
bool frmJabbly::loadBeforeShow()
{
    // Step 1, the data folder, is the session's own.
    const int failuresBefore = session_->startupFailures();
    if (!session_->findReplies()) {
        listVoices();
        session_->tellRepliesMissing();
        Form_Unload();
        return false;
    }
    session_->readReplies();
    failedBeforeVoices_ = session_->startupFailures() > failuresBefore;
    helpFile_ = session_->helpFile();
    transcript_.insVersionLine();
    const QString name = Session::nameFromCommandLine(arguments_);
    if (!name.isEmpty())
        Name1_->setText(name);
    Say1_->setFocus();
    startup_ = Startup::Visible;
    return true;
}

void frmJabbly::finishLoad()
{
    if (startup_ != Startup::Visible)
        return;
    startup_ = Startup::Done;
    listVoices();
    if (failedBeforeVoices_)
        session_->selectFirstVoice();
    session_->loadWords();
    session_->seedWords();
    setWindowIcon(jabblyIcon(std::numeric_limits<int>::max()));
    qCDebug(lcSession) << "start-up finished";
    Q_EMIT startUpFinished();
}

void frmJabbly::listVoices()
{
    // Step 2: the speech options window, loaded hidden, and its voice list.
    session_->listVoices(speechOptions().lstVoices());
}

bool frmJabbly::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::UpdateRequest && startup_ == Startup::Visible && !finishQueued_ && isVisible()) {
        finishQueued_ = true;
        QTimer::singleShot(0, this, &frmJabbly::finishLoad);
    }
    return handled;
}

void frmJabbly::Form_Unload()
{
    if (unloaded_)
        return;
    // A run closed at once still ends as a started run does.
    finishLoad();
    unloaded_ = true;
    session_->saveWords();
    delete frmAddeditems_.data();
    delete frmFontSize_.data();
    session_->stopSpeaking();
    delete frmVoice_.data();
}

void frmJabbly::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmJabbly::cmdSay_Click()
{
    finishLoad();
    const QString NameNo = Name1_->text();
    QString Say = Say1_->text();
    session_->Process(NameNo, Say);
}

void frmJabbly::mnuClear_Click()
{
    if (!session_->messages().question(QStringLiteral("Text Clear"),
                                       QStringLiteral("Are you sure you want to clear the text?")))
        return;
    transcript_.clear();
    transcript_.insVersionLine();
}

void frmJabbly::mnuExit_Click() { close(); }

void frmJabbly::mnuExport_Click()
{
    const QString path = windowServices_.saveDialog->Export(this);
    if (path.isEmpty())
        return;  // cancelled: nothing is written
    try {
        exportTranscript(*WW_->document(), path);
    } catch (const Error &error) {
        qCWarning(lcExport).noquote() << "export to" << path << "failed:" << error.message()
                                      << QStringLiteral("(error %1)").arg(error.number());
        session_->messages().critical(exportErrorTitle(), error.number() == err::PathFileAccess
                                                              ? exportErrorText()
                                                              : exportFailureText(error, path));
    }
}

void frmJabbly::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        finishLoad();
        showHelp();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmJabbly::showHelp()
{
    try {
        help_.showHelp(helpFile_);
    } catch (const Error &error) {
        session_->messages().critical(QStringLiteral("Help Not Found"), error.message());
    }
}

void frmJabbly::mnuContents_Click()
{
    // As pressing F1 in the main window does.
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
}

QString frmJabbly::feedbackLink()
{
    return QStringLiteral("mailto:") + QLatin1String(version::FeedbackAddress) +
           QStringLiteral("?subject=Jabbly Feedback");
}

QString frmJabbly::noMailProgramText()
{
    return QStringLiteral(
               "Jabbly could not open a mail program on this computer.  To send feedback, please write to ") +
           QLatin1String(version::FeedbackAddress) + QStringLiteral(" with the subject \"Jabbly Feedback\".");
}

void frmJabbly::mnuSF_Click()
{
    try {
        windowServices_.launcher->RunDoc(this, feedbackLink());
    } catch (const Error &error) {
        qCWarning(lcSession).noquote() << "the feedback link could not be opened:" << error.message();
        session_->messages().information(QStringLiteral("Send Feedback"), noMailProgramText());
    }
}

void frmJabbly::mnuAbout_Click() { session_->messages().information(aboutTitle(), aboutText()); }

ItemList &frmJabbly::wordsAdded() { return addedItems().lstAI(); }

frmAddeditems &frmJabbly::addedItems()
{
    if (frmAddeditems_.isNull())
        frmAddeditems_ = new frmAddeditems(this);
    return *frmAddeditems_;
}

void frmJabbly::toggle(const char *actionName, QWidget *loaded, const std::function<QWidget &()> &load,
                       const QString &hiddenCaption, const QString &shownCaption)
{
    QAction *item = action(actionName);
    if (loaded && loaded->isVisible()) {
        item->setText(hiddenCaption);
        loaded->hide();
    } else {
        item->setText(shownCaption);
        load().show();
    }
}

void frmJabbly::mnuAI_Click()
{
    toggle(
        "mnuAI", frmAddeditems_, [this]() -> QWidget & { return addedItems(); }, WordsCaptionHidden, WordsCaptionShown);
}

void frmJabbly::mnuFontSize_Click()
{
    toggle(
        "mnuFontSize", frmFontSize_, [this]() -> QWidget & { return fontSize(); }, FontSizeCaptionHidden,
        FontSizeCaptionShown);
}

void frmJabbly::mnuSpeech_Click()
{
    toggle(
        "mnuSpeech", frmVoice_, [this]() -> QWidget & { return speechOptions(); }, SpeechCaptionHidden,
        SpeechCaptionShown);
}

frmFontSize &frmJabbly::fontSize()
{
    if (frmFontSize_.isNull())
        frmFontSize_ = new frmFontSize(this, transcript_, Name1_, Say1_);
    return *frmFontSize_;
}

frmVoice &frmJabbly::speechOptions()
{
    if (frmVoice_.isNull()) {
        const bool reloaded = voiceWindowLoadedBefore_;
        voiceWindowLoadedBefore_ = true;
        frmVoice_ = new frmVoice(
            this, {session_->settings(), session_->tts(), *windowServices_.comboTool, session_->messages()});
        // Start-up lists the voices; a window loaded again after its close box shows them
        // too, rather than an empty list.
        if (reloaded) {
            try {
                frmVoice_->fillVoicesFromEngine();
            } catch (const Error &error) {
                qCWarning(lcSession).noquote() << "the voices could not be listed again:" << error.message();
            }
        }
    }
    return *frmVoice_;
}

SpeechSwitches frmJabbly::speechSwitches() { return speechOptions().switches(); }

}  // namespace jabbly
