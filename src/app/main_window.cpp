#include "app/main_window.h"

#include "app/figure_window.h"
#include "app/picture_box.h"
#include "app/window_controls.h"
#include "app/about_window.h"
#include "app/decimal_point.h"
#include "core/study/errors.h"
#include "app/help_viewer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace vendrak {

namespace {

// The two count labels beside the result lists are laid out only a few
// pixels wide; they widen to show their whole text, lblRoots towards the
// left (it stands against the roots list), lblExtrema towards the right.
void fitCountLabel(QLabel* label, const QRect& base, bool growLeft)
{
    QRect r = base;
    if (!label->text().isEmpty()) {
        const int wanted = label->fontMetrics().horizontalAdvance(label->text()) + 4;
        if (wanted > r.width()) {
            if (growLeft)
                r.setLeft(r.right() + 1 - wanted);
            else
                r.setWidth(wanted);
        }
    }
    if (label->geometry() != r) {
        label->setGeometry(r);
        label->raise();
    }
}

} // namespace

MainWindow::MainWindow(Dimension& dim, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent)
    , dim_(dim)
    , dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmZandu1"));
    setWindowTitle(QStringLiteral("Vendrak"));
    buildControls();
    figureWindow = new FigureWindow(dialogs_, this);
    buildMenus();
    setFocusOrder();
    wireEvents();
    Form_Load();
}

MainWindow::~MainWindow()
{
    alive_ = false;
    QObject::disconnect(focusConnection_);
}

// ---------------------------------------------------------------- controls

void MainWindow::buildControls()
{
    const ControlFactory make;
    const QFont& regular = make.regular;
    FrameHost& host = *this;

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    client->setFixedSize(632, 434); // 9480 x 6510 twips
    client->setAutoFillBackground(true);
    setRole(client, QPalette::Window, lightCyan());
    setRole(this, QPalette::Window, lightCyan());
    client->setFont(regular);

    // Graph area and file line.
    Picture1 = new PictureBox(client);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFocusPolicy(Qt::StrongFocus);
    place(Picture1, 0, 0, 6000, 4500);
    lblEquation = make.label(client, "lblEquation", "File name:", "", 0, 4500, 915, 285);
    txtEquation = make.textBox(client, "txtEquation", "", "Name of file which contains the series", 900,
                               4500, 6060, 285);
    // The name shows the file the study belongs to; it changes by opening
    // (a click here) or saving, never by typing a path that nothing reads.
    txtEquation->setReadOnly(true);
    cmdPlot = make.button(client, "cmdPlot", "&Plot", "Plot the selected option", lightPink(), 2070,
                          4800, 1050, 270);
    cboDerivative = new QComboBox(client);
    cboDerivative->setObjectName(QStringLiteral("cboDerivative"));
    cboDerivative->setToolTip(QStringLiteral("Select what to plot from list"));
    cboDerivative->setFont(regular);
    setRole(cboDerivative, QPalette::Button, lightGreen());
    setRole(cboDerivative, QPalette::Base, lightGreen());
    place(cboDerivative, 2070, 5070, 2175, 315);
    cmdIntegrate = make.button(client, "cmdIntegrate", "&Integral", "Compute integral", lightOrange(),
                               2070, 5415, 1050, 270);
    lblIntegral = make.valueLabel(client, "lblIntegral", "Integral", 3120, 5415, 2550, 285);
    cmdRoots = make.button(client, "cmdRoots", "&Roots", "Find roots", lightOrange(), 5850, 5415, 1050,
                           255);
    lstRoots = make.listBox(client, "lstRoots", "Roots", 6900, 5415, 2550, 420);
    lblRoots = make.valueLabel(client, "lblRoots", "How many roots were found", 6825, 5640, 90, 225);
    cmdExtrema = make.button(client, "cmdExtrema", "&Extrema", "Find maxima and minima", lightOrange(),
                             3270, 5835, 1050, 255);
    lblExtrema = make.valueLabel(client, "lblExtrema", "How many extrema were found", 4320, 5865, 105,
                                 225);
    lstExtrema = make.listBox(client, "lstExtrema", "Maxima and Minima", 3270, 6090, 5130, 420);

    // Series description.
    lblTyp = make.label(client, "lblTyp", "Type:", "Degree of polynomial", 6990, 4500, 525, 285);
    lblType = make.valueLabel(client, "lblType", "P for Power series, T for Trigonometric", 7500, 4500,
                              510, 285);
    setRole(lblType, QPalette::WindowText, QColor(255, 0, 0));
    {
        // "Power" is just wider than this label in the free faces; a slightly
        // narrower cut of the same face shows it whole.
        QFont narrow = lblType->font();
        narrow.setStretch(QFont::Condensed);
        lblType->setFont(narrow);
    }
    lblTerm = make.label(client, "lblTerm", "", "Degree of polynomial", 8040, 4500, 1035, 285);
    lblTerms = make.valueLabel(client, "lblTerms", "Degree of polynomial", 9060, 4500, 390, 285);
    lblInterval = make.label(client, "lblInterval", "Interval of validity:", "", 4260, 4800, 1800, 285);
    lblXLvalid = make.valueLabel(client, "lblXLvalid", "Lower limit of validity", 6045, 4800, 1425, 285);
    lblXvalidity = make.label(client, "lblXvalidity", "<=x<=", "", 7455, 4800, 585, 285);
    lblXUvalid = make.valueLabel(client, "lblXUvalid", "Upper limit of validity", 8025, 4800, 1425, 285);
    lblExpans = make.label(client, "lblExpans", "Center of expansion:", "", 4260, 5100, 1800, 285);
    lblExpansion = make.valueLabel(client, "lblExpansion", "Center of expansion", 6045, 5100, 1380, 285);
    lblPer = make.label(client, "lblPer", "Period:", "", 7440, 5100, 645, 285);
    lblPeriod = make.valueLabel(client, "lblPeriod", "Period", 8070, 5100, 1380, 285);
    lblPer->hide();
    lblPeriod->hide();

    // The frames, made after the window's own controls so that the stacking
    // and the order of the children stay as they have always been.
    studySpecsFrame = std::make_unique<StudySpecsFrame>(client, make, host);
    plotSetupFrame = std::make_unique<PlotSetupFrame>(client, make, host);
    evaluationFrame = std::make_unique<EvaluationFrame>(client, make, host);
    navigationFrame = std::make_unique<NavigationFrame>(client, make, host);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    mnuFile = bar->addMenu(QStringLiteral("File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNewSeries = mnuFile->addAction(QStringLiteral("New series from expression…"));
    mnuNewSeries->setObjectName(QStringLiteral("mnuNewSeries"));
    mnuNewSeriesBar = mnuFile->addSeparator();
    mnuNewSeriesBar->setObjectName(QStringLiteral("mnuNewSeriesBar"));
    mnuOpen = mnuFile->addAction(QStringLiteral("Open"));
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuFileBar1 = mnuFile->addSeparator();
    mnuFileBar1->setObjectName(QStringLiteral("mnuFileBar1"));
    mnuSave = mnuFile->addAction(QStringLiteral("Save"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuSaveAs = mnuFile->addAction(QStringLiteral("Save As"));
    mnuSaveAs->setObjectName(QStringLiteral("mnuSaveAs"));
    mnuFileBar2 = mnuFile->addSeparator();
    mnuFileBar2->setObjectName(QStringLiteral("mnuFileBar2"));
    mnuCopy = mnuFile->addAction(QStringLiteral("Copy graph to clipboard"));
    mnuCopy->setObjectName(QStringLiteral("mnuCopy"));
    mnuExport = mnuFile->addAction(QString::fromUtf8("Export graph\u2026"));
    mnuExport->setObjectName(QStringLiteral("mnuExport"));
    mnuQuitBar = mnuFile->addSeparator();
    mnuQuitBar->setObjectName(QStringLiteral("mnuQuitBar"));
    mnuQuit = mnuFile->addAction(QStringLiteral("Quit"));
    mnuQuit->setObjectName(QStringLiteral("mnuQuit"));
    mnuView = bar->addMenu(QStringLiteral("View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuFitY = mnuView->addAction(QStringLiteral("Fit y to curve"));
    mnuFitY->setObjectName(QStringLiteral("mnuFitY"));
    mnuBack = mnuView->addAction(QStringLiteral("Back"));
    mnuBack->setObjectName(QStringLiteral("mnuBack"));
    mnuForward = mnuView->addAction(QStringLiteral("Forward"));
    mnuForward->setObjectName(QStringLiteral("mnuForward"));
    mnuView->addSeparator();
    mnuFigure = mnuView->addAction(QString::fromUtf8("Figure\u2026"));
    mnuFigure->setObjectName(QStringLiteral("mnuFigure"));
    mnuVerify = bar->addMenu(QStringLiteral("Verify"));
    mnuVerify->setObjectName(QStringLiteral("mnuVerify"));
    mnuVerifyRoots = mnuVerify->addAction(QStringLiteral("Verify roots and extrema"));
    mnuVerifyRoots->setObjectName(QStringLiteral("mnuVerifyRoots"));
    mnuPrint = bar->addAction(QStringLiteral("Print"));
    mnuPrint->setObjectName(QStringLiteral("mnuPrint"));
    mnuHelp = bar->addAction(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = bar->addAction(QStringLiteral("About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));

    // The platform's own keys where it has them. Ctrl+C stays the text copy
    // of a field, so the graph copy takes Ctrl+Shift+C. The items on the bar
    // itself are added to the window too, so their keys work whenever the
    // window is active.
    const auto keys = [this](QAction* action, std::optional<QKeySequence::StandardKey> standard,
                             const char* fallback) {
        QList<QKeySequence> sequences;
        if (standard)
            sequences = QKeySequence::keyBindings(*standard);
        if (sequences.isEmpty())
            sequences = {QKeySequence(QString::fromLatin1(fallback))};
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    };
    keys(mnuNewSeries, QKeySequence::New, "Ctrl+N");
    keys(mnuOpen, QKeySequence::Open, "Ctrl+O");
    keys(mnuSave, QKeySequence::Save, "Ctrl+S");
    keys(mnuSaveAs, QKeySequence::SaveAs, "Ctrl+Shift+S");
    keys(mnuCopy, std::nullopt, "Ctrl+Shift+C");
    keys(mnuExport, std::nullopt, "Ctrl+E");
    keys(mnuPrint, QKeySequence::Print, "Ctrl+P");
    keys(mnuHelp, QKeySequence::HelpContents, "F1");
    keys(mnuFitY, std::nullopt, "Ctrl+F");
    keys(mnuBack, std::nullopt, "Alt+Left");
    keys(mnuForward, std::nullopt, "Alt+Right");
    keys(mnuVerifyRoots, std::nullopt, "Ctrl+Shift+V");
    keys(mnuFigure, std::nullopt, "Ctrl+G");
    keys(mnuQuit, QKeySequence::Quit, "Ctrl+Q");
    figureWindow->addAction(mnuQuit); // the same key in the figure's window
    updateViewHistoryItems();

    // The client area keeps its size; the menu bar sits above it.
    setFixedSize(632, 434 + bar->sizeHint().height());
}

void MainWindow::setFocusOrder()
{
    std::vector<QWidget*> order{txtEquation, cmdPlot};
    const auto add = [&order](const std::vector<QWidget*>& part) { order.insert(order.end(), part.begin(), part.end()); };
    add(studySpecsFrame->tabOrder());
    add(plotSetupFrame->tabOrder());
    add({cmdIntegrate, cmdRoots, cmdExtrema, cboDerivative, lstRoots, lstExtrema, Picture1});
    add(navigationFrame->tabOrder());
    add(evaluationFrame->tabOrder());
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    txtEquation->setFocus(Qt::OtherFocusReason);
}

// ------------------------------------------------------------------ wiring

void MainWindow::wireEvents()
{
    using Handler = void (MainWindow::*)();
    using Validator = void (MainWindow::*)(bool&);

    auto call = [this](Handler h) { return std::function<void()>([this, h] { (this->*h)(); }); };
    auto check = [this](Validator h) {
        return std::function<void(bool&)>([this, h](bool& cancel) { (this->*h)(cancel); });
    };
    auto selectAll = [this](QLineEdit* e) {
        return std::function<void()>([this, e] { SelectAllText(e); });
    };
    auto onChange = [this](QLineEdit* e, Handler h) {
        connect(e, &QLineEdit::textChanged, this, [this, h] { runGuarded([this, h] { (this->*h)(); }); });
    };
    auto field = [this](QWidget* w, std::function<void()> got, std::function<void(bool&)> validate,
                        std::function<void()> lost) {
        addField(w, std::move(got), std::move(validate), std::move(lost));
    };
    auto onClick = [this](QPushButton* b, Handler h) {
        connect(b, &QPushButton::clicked, this, [this, h] { runCommand(nullptr, [this, h] { (this->*h)(); }); });
    };
    // A menu item takes no focus: the focused field is neither validated nor
    // left, keeps its text, and the command works on the study as it stands.
    // A field that refuses its value must not hold back Save or Copy.
    auto onTrigger = [this](QAction* a, Handler h) {
        connect(a, &QAction::triggered, this, [this, h] {
            if (alive_ && !pumping_)
                runGuarded([this, h] { (this->*h)(); });
        });
    };

    // Text changes.
    onChange(txtEquation, &MainWindow::txtEquation_Change);

    // Focus events: got focus, validation, lost focus.
    field(txtEquation, selectAll(txtEquation), check(&MainWindow::txtEquation_Validate), {});
    field(cboDerivative, call(&MainWindow::cboDerivative_GotFocus), {},
          call(&MainWindow::cboDerivative_LostFocus));
    focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this] { onFocusChanged(); });

    // The frames' decimal fields are watched for a typed comma already.
    txtEquation->installEventFilter(this); // its click opens a file
    lstRoots->installEventFilter(this);    // Ctrl+C copies the results
    lstExtrema->installEventFilter(this);
    centralWidget()->installEventFilter(this); // the count labels' widths

    // Commands.
    onClick(cmdPlot, &MainWindow::cmdPlot_Click);
    onClick(cmdIntegrate, &MainWindow::cmdIntegrate_Click);
    onClick(cmdRoots, &MainWindow::cmdRoots_Click);
    onClick(cmdExtrema, &MainWindow::cmdExtrema_Click);
    onTrigger(mnuNewSeries, &MainWindow::mnuNewSeries_Click);
    onTrigger(mnuOpen, &MainWindow::OpenSeriesFile);
    onTrigger(mnuSave, &MainWindow::mnuSave_Click);
    onTrigger(mnuSaveAs, &MainWindow::mnuSaveAs_Click);
    onTrigger(mnuCopy, &MainWindow::mnuCopy_Click);
    onTrigger(mnuExport, &MainWindow::mnuExport_Click);
    onTrigger(mnuPrint, &MainWindow::mnuPrint_Click);
    onTrigger(mnuHelp, &MainWindow::mnuHelp_Click);
    onTrigger(mnuAbout, &MainWindow::mnuAbout_Click);
    onTrigger(mnuFitY, &MainWindow::mnuFitY_Click);
    onTrigger(mnuBack, &MainWindow::mnuBack_Click);
    onTrigger(mnuForward, &MainWindow::mnuForward_Click);
    onTrigger(mnuVerifyRoots, &MainWindow::mnuVerifyRoots_Click);
    onTrigger(mnuFigure, &MainWindow::mnuFigure_Click);
    onTrigger(mnuQuit, &MainWindow::mnuQuit_Click);

    // The graph area: a press is a command (click to centre), moving only
    // shows where the pointer is.
    connect(Picture1, &PictureBox::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pixel) {
                runCommand(nullptr, [=, this] { Picture1_MouseDown(button, shift, pixel); });
            });
    // The wheel zooms like the Zoom buttons, about the point under the
    // pointer; it is a command, not a press.
    connect(Picture1, &PictureBox::wheelTurned, this, [this](int notches, QPointF pixel) {
        runCommand(nullptr, [=, this] { Picture1_Wheel(notches, pixel); });
    });
    connect(Picture1, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF pixel) {
                runGuarded([=, this] { Picture1_MouseMove(buttons, shift, pixel); });
            });

    // A screen image made afresh at another pixel ratio gets the graph shown
    // again; while a drawing runs, that drawing fills it.
    Picture1->setRedraw([this](PainterCanvas& canvas) {
        if (!DrawingGraph)
            runGuarded([&] { drawShownGraph(canvas, PictureBox::background()); });
    });

    // Script errors come back as an event of the host.
    ScriptControl1.onError = [this](int number, const QString& description) {
        runGuarded([&] { ScriptControl1_Error(number, description); });
    };
    // A failing function of the math object sets the window's ierr too.
    ScriptControl1.onMathError = [this](int number) { dim_.errors.ierr = number; };
}

void MainWindow::addField(QWidget* field, std::function<void()> gotFocus,
                          std::function<void(bool&)> validate, std::function<void()> lostFocus)
{
    fields_.push_back({field, std::move(gotFocus), std::move(validate), std::move(lostFocus)});
}

// A typed comma becomes a decimal point in the fields for decimal numbers.
void MainWindow::addDecimalField(QLineEdit* field)
{
    commaFields_.push_back(field);
    field->installEventFilter(this);
}

bool MainWindow::runGuarded(const std::function<void()>& handler)
{
    QString text;
    try {
        handler();
        return true;
    } catch (const Error& e) {
        text = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
        text = QStringLiteral("Unexpected error: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        text = QStringLiteral("Unexpected error");
    }
    try {
        dialogs_.message(QStringLiteral("Vendrak"), text, Dialogs::Icon::Critical);
    } catch (...) {
        // Nothing more can be said; the program goes on.
    }
    return false;
}

void MainWindow::runCommand(QObject* exempt, const std::function<void()>& handler)
{
    if (!alive_ || pumping_)
        return;
    if (!commitFocusedFieldExcept(exempt))
        return;
    runGuarded(handler);
}

bool MainWindow::commitFocusedFieldExcept(QObject* exempt)
{
    QWidget* const field = focusField_;
    if (inFocusChange_ || !field || field == exempt)
        return true;
    inFocusChange_ = true;
    const bool accepted = leaveField(field);
    // A menu command takes no focus: the field still has it and is left
    // again, with its checks, when the focus moves on.
    if (accepted && QApplication::focusWidget() == field)
        focusField_ = field;
    inFocusChange_ = false;
    if (accepted)
        syncFocus();
    return accepted;
}

void MainWindow::onFocusChanged()
{
    // Focus moves made while a field is being left or entered (a message
    // box, a handler moving the focus) are settled by the outer call.
    if (!alive_ || inFocusChange_)
        return;
    inFocusChange_ = true;
    syncFocus();
    inFocusChange_ = false;
}

void MainWindow::syncFocus()
{
    const bool outer = inFocusChange_;
    inFocusChange_ = true;
    // A handler may move the focus again; a few rounds settle any chain.
    for (int round = 0; round < 8; ++round) {
        QWidget* now = QApplication::focusWidget();
        // Focus in another window (message box, About, help, a popup) is not
        // a move between our fields.
        if (!now || now->window() != this || now == focusField_)
            break;
        if (focusField_ && !leaveField(focusField_))
            break;
        if (QApplication::focusWidget() != now)
            continue;
        enterField(now);
        if (QApplication::focusWidget() == now)
            break;
    }
    inFocusChange_ = outer;
}

bool MainWindow::leaveField(QWidget* field)
{
    const FieldHooks* hooks = hooksFor(field);
    if (!hooks) {
        focusField_ = nullptr;
        return true;
    }
    bool cancel = false;
    if (hooks->validate && !runGuarded([&] { hooks->validate(cancel); }))
        cancel = true;
    if (cancel) {
        // The focus goes back once the move that is under way has finished.
        QPointer<QWidget> back(field);
        QTimer::singleShot(0, field, [back] {
            if (back && !back->hasFocus())
                back->setFocus(Qt::OtherFocusReason);
        });
        return false;
    }
    focusField_ = nullptr;
    if (hooks->lostFocus)
        runGuarded(hooks->lostFocus);
    return true;
}

void MainWindow::enterField(QWidget* field)
{
    const FieldHooks* hooks = hooksFor(field);
    focusField_ = hooks ? field : nullptr;
    if (hooks && hooks->gotFocus)
        runGuarded(hooks->gotFocus);
}

const MainWindow::FieldHooks* MainWindow::hooksFor(const QObject* widget) const
{
    for (const FieldHooks& h : fields_)
        if (h.widget == widget)
            return &h;
    return nullptr;
}

void MainWindow::DoEvents()
{
    const bool outer = pumping_;
    pumping_ = true;
    QCoreApplication::processEvents();
    pumping_ = outer;
}

void MainWindow::setFocusLater(QWidget* widget)
{
    QPointer<QWidget> target(widget);
    QTimer::singleShot(0, this, [target] {
        if (target && target->isEnabled())
            target->setFocus(Qt::OtherFocusReason);
    });
}

void MainWindow::SelectAllText(QLineEdit* field)
{
    field->selectAll();
    QPointer<QLineEdit> later(field);
    QTimer::singleShot(0, field, [later] {
        if (later && later->hasFocus())
            later->selectAll();
    });
}

// The selected entries as shown, one per line; all of them when none is
// selected, so a user can take the whole list to another program.
void MainWindow::copyListEntries(QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            lines << list->item(i)->text();
    if (lines.isEmpty())
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(u'\n'));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (!alive_)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) && (watched == lstRoots || watched == lstExtrema)) {
            copyListEntries(static_cast<QListWidget*>(watched));
            return true;
        }
        if (key->text() == QStringLiteral(",")
            && std::find(commaFields_.begin(), commaFields_.end(), watched) != commaFields_.end()) {
            QKeyEvent point(QEvent::KeyPress, Qt::Key_Period, key->modifiers(), QStringLiteral("."),
                            key->isAutoRepeat(), static_cast<quint16>(key->count()));
            QCoreApplication::sendEvent(watched, &point);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (watched == txtEquation) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton
                && txtEquation->rect().contains(mouse->position().toPoint()))
                runCommand(txtEquation, [this] { txtEquation_Click(); });
        }
        break;
    case QEvent::LayoutRequest:
        if (watched == centralWidget()) {
            fitCountLabel(lblRoots, QRect(px(6825), px(5640), px(90), px(225)), true);
            fitCountLabel(lblExtrema, QRect(px(4320), px(5865), px(105), px(225)), false);
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ----------------------------------------------------------- load / unload

void MainWindow::Form_Load()
{
    // The math object goes to the script host with its members global.
    ScriptControl1.AddObject(QStringLiteral("sh"), &dim_.errors.ScriptMath, true);

    // The zeroed counts and file name: one place for the start-up values of
    // the study.
    dim_.initialise();

    ScriptControl1.ExecuteStatement(QStringLiteral("halfpi = Atn(1) * 2"));
    ScriptControl1.ExecuteStatement(QStringLiteral("pi = Atn(1) * 4"));
    ScriptControl1.ExecuteStatement(QStringLiteral("e = Exp(1)"));

    studySpecsFrame->setSubintervalsTip(QStringLiteral(
        "Should be enough to detect all roots & extrema, and to find an accurate integral."));

    cboDerivative->addItems({QStringLiteral("Function"), QStringLiteral("1st.derivative"),
                             QStringLiteral("2nd.derivative"), QStringLiteral("3rd.derivative"),
                             QStringLiteral("4th.derivative"), QStringLiteral("5th.derivative"),
                             QStringLiteral("6th.derivative"), QStringLiteral("7th.derivative"),
                             QStringLiteral("8th.derivative"), QStringLiteral("9th.derivative")});
    cboDerivative->setCurrentIndex(0);
}

void MainWindow::Form_Unload()
{
    if (locale_)
        RestoreDecimalSeparator(dim_, *locale_);
    if (about_)
        about_->close();
    if (help_)
        help_->close();
    if (figureWindow)
        figureWindow->close();
}

void MainWindow::mnuQuit_Click()
{
    // The way the close button goes: Form_Unload, no question, nothing saved.
    close();
}

void MainWindow::mnuFigure_Click()
{
    figureWindow->show();
    figureWindow->raise();
    figureWindow->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing is never refused and saves nothing.
    runGuarded([this] { Form_Unload(); });
    event->accept();
}

// ------------------------------------------------------------ Help, About

QString MainWindow::helpFile() const
{
    if (!helpFile_.isEmpty())
        return helpFile_;
    return DefaultHelpFile();
}

AboutWindow* MainWindow::aboutWindow() const { return about_; }
HelpViewer* MainWindow::helpViewer() const { return help_; }

void MainWindow::mnuHelp_Click()
{
    if (!help_)
        help_ = new HelpViewer(this);
    help_->showContents(helpFile());
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainWindow::mnuAbout_Click()
{
    if (!about_)
        about_ = new AboutWindow(this);
    about_->show();
    about_->raise();
    about_->printLines(AboutWindow::aboutLines());
}

void MainWindow::ScriptControl1_Error(int number, const QString& description)
{
    dim_.errors.ierr = number;
    if (!isRecoverableEvalError(number))
        dialogs_.message(QStringLiteral("Vendrak"), description);
}

} // namespace vendrak
