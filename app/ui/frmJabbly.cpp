#include "frmJabbly.h"

#include "EspeakEngine.h"
#include "FileCheck.h"
#include "FileSystem.h"
#include "WindowPlacement.h"
#include "frmAddeditems.h"
#include "jabbly/speechengine.h"
#include "jabbly/version.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTextEdit>

#include <limits>

namespace jabbly {

namespace {

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QRect toPixels(const TwipRect &r)
{
    return {r.left / TwipsPerPixel, r.top / TwipsPerPixel, r.width / TwipsPerPixel, r.height / TwipsPerPixel};
}

QFont transcriptFont()
{
    QFont font(QStringLiteral("Lucida Console"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(11.25);
    return font;
}

const QString WordsCaptionHidden = QStringLiteral("View &words added this session...");
const QString WordsCaptionShown = QStringLiteral("Hide &words list");

}  // namespace

frmJabbly::Setup frmJabbly::Setup::forThisProgram(const QStringList &arguments)
{
    Setup setup;
    setup.dataFolder = withSeparator(QCoreApplication::applicationDirPath());
    setup.componentFolder = setup.dataFolder;
    setup.arguments = arguments;
    try {
        setup.tts = std::make_unique<EspeakEngine>();
    } catch (const Error &) {
        // No speech this run; everything that speaks says so when it is used.
    }
    setup.Tamsin = std::make_unique<LocalFileCheck>();
    setup.fileSystem = std::make_unique<LocalFileSystem>();
    setup.messages = std::make_unique<QtMessageBoxes>();
    return setup;
}

frmJabbly::frmJabbly(Setup setup)
    : setup_(std::move(setup)),
      rowkitLibrary_(setup_.componentFolder, QStringLiteral("Rowkit"), RowkitFactory),
      saylineLibrary_(setup_.componentFolder, QStringLiteral("Sayline"), SaylineFactory),
      Rowkit_(rowkitLibrary_.instance()),
      Sayline_(saylineLibrary_.instance()),
      client_(new QWidget(this)),
      WW_(new QTextEdit(client_)),
      Name1_(new QLineEdit(client_)),
      Say1_(new QLineEdit(client_)),
      cmdSay_(new QPushButton(client_)),
      transcript_(WW_),
      input_(Say1_),
      commands_(transcript_, *setup_.Tamsin, *setup_.fileSystem),
      turn_(transcript_, input_, HidWord_, HidCPU_, [this]() -> ItemList & { return addedItems().lstAI(); }, Rowkit_,
            random_, commands_)
{
    setObjectName(QStringLiteral("frmJabbly"));
    buildControls();
    buildMenus();
    commands_.setSpeechEngine(setup_.tts.get(), this);
    commands_.setCloseMainWindow([this] { close(); });
    placeAtDesignSize();
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
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/jabbly16.xpm"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/jabbly32.xpm"), QSize(32, 32));
    setWindowIcon(icon);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    WW_->setObjectName(QStringLiteral("WW"));
    WW_->setFont(transcriptFont());
    WW_->setTabChangesFocus(true);

    QPalette boxColours;
    boxColours.setColor(QPalette::Base, Qt::white);
    boxColours.setColor(QPalette::Text, Qt::black);
    Name1_->setObjectName(QStringLiteral("Name1"));
    Name1_->setText(QStringLiteral("Human"));
    Say1_->setObjectName(QStringLiteral("Say1"));
    // Room for a long pasted text; a line edit would otherwise cut it at 32,767 characters.
    Say1_->setMaxLength(std::numeric_limits<int>::max());
    for (QLineEdit *box : {Name1_, Say1_}) {
        box->setFont(transcriptFont());
        box->setPalette(boxColours);
        // Enter in either box presses the window's default button.
        connect(box, &QLineEdit::returnPressed, cmdSay_, &QPushButton::click);
    }

    cmdSay_->setObjectName(QStringLiteral("cmdSay"));
    cmdSay_->setText(QStringLiteral("&Say"));
    cmdSay_->setDefault(true);
    connect(cmdSay_, &QPushButton::clicked, this, &frmJabbly::cmdSay_Click);

    setTabOrder(Say1_, WW_);
    setTabOrder(WW_, cmdSay_);
    setTabOrder(cmdSay_, Name1_);
    applyLayout();
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
            if (item.handler)
                connect(action, &QAction::triggered, this, item.handler);
            else
                action->setEnabled(false);  // its command is not part of this version yet
        }
    };

    QMenu *mnuJabbly = menuBar()->addMenu(QStringLiteral("&Jabbly"));
    mnuJabbly->setObjectName(QStringLiteral("mnuJabbly"));
    addItems(mnuJabbly, {
                            {"mnuExport", QStringLiteral("&Export..."), Qt::Key_F2, nullptr},
                            {"mnuClear", QStringLiteral("&Clear..."), Qt::Key_F3, &frmJabbly::mnuClear_Click},
                            {"div3", QStringLiteral("-"), {}, nullptr},
                            {"mnuFontSize", QStringLiteral("&Font and size..."), Qt::Key_F11, nullptr},
                            {"div2", QStringLiteral("-"), {}, nullptr},
                            {"mnuAI", WordsCaptionHidden, Qt::Key_F12, &frmJabbly::mnuAI_Click},
                            {"div4", QStringLiteral("-"), {}, nullptr},
                            {"mnuSpeech", QStringLiteral("Show &Speech Options..."), Qt::Key_F9, nullptr},
                            {"Div1", QStringLiteral("-"), {}, nullptr},
                            {"mnuExit", QStringLiteral("&Exit"), Qt::Key_F4, &frmJabbly::mnuExit_Click},
                        });
    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addItems(mnuHelp, {
                          {"mnuContents", QStringLiteral("&Contents"), {}, nullptr},
                          {"mnuSF", QStringLiteral("&Send feedback..."), Qt::Key_F5, nullptr},
                          {"mnuAbout", QStringLiteral("&About..."), Qt::Key_F6, nullptr},
                      });
}

QAction *frmJabbly::action(const char *name) const { return findChild<QAction *>(QLatin1String(name)); }

void frmJabbly::placeAtDesignSize()
{
    resize(DesignClientWidth / TwipsPerPixel, DesignClientHeight / TwipsPerPixel + menuBar()->sizeHint().height());
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
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmJabbly::Form_Resize()
{
    layout_.Form_Resize(client_->width() * TwipsPerPixel, client_->height() * TwipsPerPixel, isMinimized());
    applyLayout();
}

void frmJabbly::applyLayout()
{
    WW_->setGeometry(toPixels(layout_.WW));
    Name1_->setGeometry(toPixels(layout_.Name1));
    Say1_->setGeometry(toPixels(layout_.Say1));
    cmdSay_->setGeometry(toPixels(layout_.cmdSay));
}

template <typename Step>
void frmJabbly::startupStep(Step &&step)
{
    try {
        step();
    } catch (const Error &) {
        try {
            if (setup_.tts)
                setup_.tts->setCurrentMode(1);
        } catch (const Error &) {
            // No usable voice either: the run goes on without speech.
        }
    }
}

QString frmJabbly::missingCpuText() const
{
    return QStringLiteral("Cannot find the file '") + setup_.dataFolder +
           QStringLiteral("cpu.txt'.  Jabbly needs this file in its own folder in order to run.  "
                          "If you do not have this file, please visit ") +
           QLatin1String(version::DownloadPage) +
           QStringLiteral(" to download the latest version.  Jabbly will now close.");
}

QString frmJabbly::dataFile(const char *name) const { return setup_.dataFolder + QLatin1String(name); }

bool frmJabbly::Form_Load()
{
    const QString cpuFile = dataFile("cpu.txt");
    const QString wordsFile = dataFile("words.txt");

    // When the existence test itself fails, the load is tried all the same.
    bool cpuExists = true;
    startupStep([&] { cpuExists = setup_.Tamsin->FileExists(cpuFile); });
    if (!cpuExists) {
        setup_.messages->critical(this, QStringLiteral("cpu.txt Missing"), missingCpuText());
        Form_Unload();
        return false;
    }
    startupStep([&] { Rowkit_.Listload(HidCPU_, cpuFile); });

    bool wordsExist = true;
    startupStep([&] { wordsExist = setup_.Tamsin->FileExists(wordsFile); });
    if (wordsExist) {
        startupStep([&] {
            try {
                Rowkit_.Listload(HidWord_, wordsFile);
            } catch (const Error &error) {
                if (error.number() != err::FileNotFound && error.number() != err::PathNotFound)
                    wordsLoadFailure_ = error.message();
                throw;
            }
        });
    }

    helpFile_ = dataFile("jabbly.chm");
    startupStep([&] {
        if (HidWord_.ListCount() == 0)
            HidWord_.AddItem(QStringLiteral("jabbly"));
    });
    transcript_.insVersionLine();

    const QString name = setup_.arguments.join(QLatin1Char(' '));
    if (!name.isEmpty())
        Name1_->setText(name);
    Say1_->setFocus();
    return true;
}

void frmJabbly::saveWords()
{
    const QString wordsFile = dataFile("words.txt");
    try {
        Rowkit_.Listsave(HidWord_, wordsFile);
    } catch (const Error &error) {
        setup_.messages->critical(this, QStringLiteral("Words Not Saved"),
                                  QStringLiteral("Cannot save the learned words to '%1'.  %2 (error %3).  "
                                                 "The file has been left as it was.")
                                      .arg(wordsFile, error.message())
                                      .arg(error.number()));
    }
}

void frmJabbly::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;

    if (!wordsLoadFailure_.isEmpty()) {
        // Saving now would replace the words the program could not read with the few it
        // has: leave the file alone.
        setup_.messages->critical(this, QStringLiteral("Words Not Saved"),
                                  QStringLiteral("Jabbly could not read '%1' when it started (%2), so it has not "
                                                 "replaced it.  The words learned in this run were not saved.")
                                      .arg(dataFile("words.txt"), wordsLoadFailure_));
    } else if (HidWord_.ListCount() > 0) {
        saveWords();
    }

    delete frmAddeditems_.data();
    if (setup_.tts) {
        try {
            setup_.tts->StopSpeaking();
        } catch (const Error &) {
            // Nothing is being said that could still be stopped.
        }
    }
}

void frmJabbly::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmJabbly::cmdSay_Click()
{
    const QString NameNo = Name1_->text();
    QString Say = Say1_->text();
    Process(NameNo, Say);
}

void frmJabbly::Process(const QString &NameNo, QString &Say) { turn_.Process(NameNo, Say); }

void frmJabbly::mnuClear_Click()
{
    if (!setup_.messages->question(this, QStringLiteral("Text Clear"),
                                   QStringLiteral("Are you sure you want to clear the text?")))
        return;
    transcript_.clear();
    transcript_.insVersionLine();
}

void frmJabbly::mnuExit_Click() { close(); }

frmAddeditems &frmJabbly::addedItems()
{
    if (frmAddeditems_.isNull())
        frmAddeditems_ = new frmAddeditems(this);
    return *frmAddeditems_;
}

void frmJabbly::mnuAI_Click()
{
    QAction *mnuAI = action("mnuAI");
    if (!frmAddeditems_.isNull() && frmAddeditems_->isVisible()) {
        mnuAI->setText(WordsCaptionHidden);
        frmAddeditems_->hide();
    } else {
        mnuAI->setText(WordsCaptionShown);
        addedItems().show();
    }
}

}  // namespace jabbly
