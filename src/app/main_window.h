#pragma once
// The main window frmZandu1. Its controls carry the names users and tests know
// them by and are the window's own, as are its event handlers, named after
// control and event: the tests find the controls by those names. Four frames
// are classes of their own that own their controls and handlers and reach the
// window only through FrameHost:
//   study_frame.cpp        fraStudySpecs: interval, subintervals, error, iterations
//   plot_setup_frame.cpp   fraPlotSpecs: plot window, step, axes, drawing options
//   evaluation_frame.cpp   fraEvalDer: Value= at a point
//   navigation_frame.cpp   fraZoomPan: zoom, quadrant, window and pan buttons
// The window builds them and keeps the rest, one file per area:
//   main_window.cpp        construction, load/unload, field and command
//                          machinery, wiring, Help, About, script error event
//   window_controls.cpp    how every control is made and placed
//   analysis_commands.cpp  the result area: Roots, Extrema, Integral, the
//                          texts the commands read, ClearResults
//   graph_commands.cpp     Plot, navigation steps, the graph's mouse, clipboard
//   export_commands.cpp    Export graph (PNG, SVG, PDF)
//   view_commands.cpp      View menu (fit y, back, forward), the wheel
//   figure_window.cpp      View > Figure: the study as a figure for papers
//   file_commands.cpp      New series, Open, Save, Save As, txtEquation
//   report.cpp             Print
#include "app/dialogs.h"
#include "app/evaluation_frame.h"
#include "app/frame_host.h"
#include "app/navigation_frame.h"
#include "app/plot_setup_frame.h"
#include "app/study_frame.h"
#include "core/analysis/study_commands.h"
#include "core/graph/graph_work.h"
#include "core/graph/navigation.h"
#include "core/script/script_host.h"
#include "core/series/series_file.h"
#include "core/study/dimension.h"

#include <QImage>
#include <QMainWindow>
#include <QMetaObject>
#include <QPointF>
#include <QPointer>
#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace vendrak {

class AboutWindow;
class BusyCursor;
class FigureWindow;
class HelpViewer;
class LocaleAccess;
class PainterCanvas;
class PictureBox;

class MainWindow : public QMainWindow, private FrameHost {
    Q_OBJECT
public:
    MainWindow(Dimension& dim, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens the named file as if it had been chosen in the Open dialog.
    void OpenSeriesFileNamed(const QString& path);

    // Runs a handler the way the window runs its own: a run-time error it
    // did not trap is shown in a message box and the program goes on. False
    // when one escaped.
    bool runGuarded(const std::function<void()>& handler) override;

    // Where the user's decimal separator is put back when the window closes;
    // none (tests) means nothing is touched.
    void setLocaleAccess(LocaleAccess* locale) { locale_ = locale; }

    // The help document shown by Help; by default help/index.html beside the
    // executable.
    QString helpFile() const;
    void setHelpFile(const QString& path) { helpFile_ = path; }

    // ===== What no control shows. The controls themselves are private: the
    // tests find them by their object names, as a user finds them by theirs.

    // The windows Help, About and Verify opened last, while they are open.
    AboutWindow* aboutWindow() const;
    HelpViewer* helpViewer() const;
    QDialog* verifyDialog() const { return verifyDialog_; }
    ScriptHost& scriptControl() { return ScriptControl1; }
    // True while DrawGraph runs, its pass of pending events included.
    bool drawingGraph() const { return DrawingGraph; }
    // The graph area's picture as shown: what the companion bitmap, the
    // printed report and the clipboard take (no redraw needed).
    QImage graphImage() const;

    // Lets pending events through once, in the middle of a handler. Commands
    // (buttons, menus, clicks on the graph or the file name) that arrive
    // during it are ignored, so no command starts inside another; field
    // events still run. Use this rather than QCoreApplication::processEvents.
    void DoEvents();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dimension& dim() override { return dim_; }
    Dialogs& dialogs() { return dialogs_; }

    // ===== Controls

    // --- The four frames
    std::unique_ptr<StudySpecsFrame> studySpecsFrame;
    std::unique_ptr<PlotSetupFrame> plotSetupFrame;
    std::unique_ptr<EvaluationFrame> evaluationFrame;
    std::unique_ptr<NavigationFrame> navigationFrame;

    // --- Graph area and file line
    PictureBox* Picture1 = nullptr;
    QLabel* lblEquation = nullptr;
    QLineEdit* txtEquation = nullptr;
    QPushButton* cmdPlot = nullptr;
    QComboBox* cboDerivative = nullptr;

    // --- Results
    QPushButton* cmdIntegrate = nullptr;
    QLabel* lblIntegral = nullptr;
    QPushButton* cmdRoots = nullptr;
    QLabel* lblRoots = nullptr;
    QListWidget* lstRoots = nullptr;
    QPushButton* cmdExtrema = nullptr;
    QLabel* lblExtrema = nullptr;
    QListWidget* lstExtrema = nullptr;

    // --- Series description
    QLabel* lblTyp = nullptr;
    QLabel* lblType = nullptr;
    QLabel* lblTerm = nullptr;
    QLabel* lblTerms = nullptr;
    QLabel* lblInterval = nullptr;
    QLabel* lblXLvalid = nullptr;
    QLabel* lblXvalidity = nullptr;
    QLabel* lblXUvalid = nullptr;
    QLabel* lblExpans = nullptr;
    QLabel* lblExpansion = nullptr;
    QLabel* lblPer = nullptr;
    QLabel* lblPeriod = nullptr;

    // --- Menus
    QMenu* mnuFile = nullptr;
    QAction* mnuNewSeries = nullptr;   // makes a series file from an expression
    QAction* mnuNewSeriesBar = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuFileBar1 = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuFileBar2 = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuExport = nullptr;
    QAction* mnuQuitBar = nullptr;
    QAction* mnuQuit = nullptr;        // closes the window, as its close button does
    QMenu* mnuView = nullptr;          // fit, back and forward beside navigation
    QAction* mnuFitY = nullptr;
    QAction* mnuBack = nullptr;
    QAction* mnuForward = nullptr;
    QAction* mnuFigure = nullptr;
    QMenu* mnuVerify = nullptr;        // proofs beside the scans
    QAction* mnuVerifyRoots = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;

    // --- The figure window: made hidden with the window, so that it has
    // the study last drawn whenever it is shown
    FigureWindow* figureWindow = nullptr;

    // --- Non-visual components
    ScriptHost ScriptControl1;

    // ===== How handlers run

    // Moves the focus once the current event is done: safe from inside a
    // focus change (lost-focus handlers that send the focus elsewhere).
    void setFocusLater(QWidget* widget) override;

    // Selects the whole text of a field now and again after the current
    // event, so a mouse click that gives the focus does not undo it.
    void SelectAllText(QLineEdit* field) override;

    // ===== Program and help (main_window.cpp)
    void Form_Load();
    void Form_Unload();
    void mnuHelp_Click();
    void mnuAbout_Click();
    void mnuQuit_Click();
    void mnuFigure_Click();
    void ScriptControl1_Error(int number, const QString& description);

    // ===== Study and results (analysis_commands.cpp)

    // The texts the core commands read, as the fields hold them now.
    StudySpecTexts studySpecTexts() const override;
    StudySettingsTexts studySettingsTexts() const;
    void ReadStudySpecs();
    void ClearResults() override;
    void cmdRoots_Click();
    void cmdExtrema_Click();
    void cmdIntegrate_Click();
    void copyListEntries(QListWidget* list);
    void tellTableFull(const QString& text, BusyCursor& busy);
    void runScan(bool roots);
    // Verify, roots and extrema: proves them on the worker and shows them
    // beside the scans' lists (those shown, or scans run for the purpose).
    void mnuVerifyRoots_Click();
    // Runs a Roots or Extrema scan, which reads the study only, away from
    // the window's thread, the window painted meanwhile and a progress dialog
    // with Cancel shown once it takes a while. The outcome says whether it
    // was cancelled.
    ScanOutcome scanAside(const QString& labelText, BusyCursor& busy,
                          const std::function<ScanOutcome(ScanControl*)>& scan);

    // ===== Graph (graph_commands.cpp, export_commands.cpp)

    // True while DrawGraph runs, its pass of pending events included: no
    // plot, save, print or navigation may start then, and a plot field edited
    // meanwhile blanks the graph only once the drawing is done.
    bool DrawingGraph = false;
    // Working values of the last drawing and navigation step.
    GraphWork graphWork;

    void cmdPlot_Click();
    void ReadPlotSpecs();
    void InvalidateGraph() override;
    void DrawGraph();
    // Like a redraw, taking the picture leaves DerivOrder at the order of the
    // graph shown, for the report's title.
    void takeShownOrder();
    // Draws the graph shown once more, on another canvas (an export file, a
    // printer page) in its own resolution, after filling its interior with
    // `background`: the same steps from the same settings and options as the
    // drawing on screen. The study state, the working values and the picture
    // on screen stay as they are. False (nothing drawn) when no graph is shown.
    bool drawShownGraph(PainterCanvas& canvas, const QColor& background);
    void cboDerivative_GotFocus();
    void cboDerivative_LostFocus();
    // One navigation step (a ViewAction): the new window goes into the four
    // window fields and Plot is pressed.
    void ChangeView(ViewAction action) override;
    void Picture1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pixel);
    void Picture1_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, QPointF pixel);
    void mnuCopy_Click();
    void mnuExport_Click();

    // ===== View menu and the wheel (view_commands.cpp), through the same
    // path as the navigation buttons (the four window fields, then Plot).
    void mnuFitY_Click();
    void mnuBack_Click();
    void mnuForward_Click();
    void Picture1_Wheel(int notches, QPointF pixel);
    // Every plot that draws enters its window into the history.
    void recordShownView();
    void updateViewHistoryItems();

    // ===== Files (file_commands.cpp) and Print (report.cpp)

    void OpenSeriesFile();
    // The new-series dialog; Create saves the series and opens it as Open does.
    void mnuNewSeries_Click();
    QString documentFolder() const;
    void mnuSave_Click();
    void mnuSaveAs_Click();
    // False when the series file was not written (refused or failed).
    bool SaveStudy();
    void txtEquation_Click();
    void txtEquation_Change();
    void txtEquation_Validate(bool& cancel);
    void mnuPrint_Click();

    QPointer<QDialog> verifyDialog_;
    // The events of one field: got focus, validation (may refuse), lost focus.
    struct FieldHooks {
        QWidget* widget = nullptr;
        std::function<void()> gotFocus;
        std::function<void(bool&)> validate;
        std::function<void()> lostFocus;
    };

    void buildControls();
    void buildMenus();
    void wireEvents();
    void setFocusOrder();

    // A command: ignored while DoEvents runs, and run only once the focused
    // field has let go (the exempt field, the command's own, is not asked).
    void runCommand(QObject* exempt, const std::function<void()>& handler) override;
    void addField(QWidget* field, std::function<void()> gotFocus, std::function<void(bool&)> validate,
                  std::function<void()> lostFocus) override;
    void addDecimalField(QLineEdit* field) override;
    bool commitFocusedFieldExcept(QObject* exempt);
    void onFocusChanged();
    void syncFocus();
    bool leaveField(QWidget* field);
    void enterField(QWidget* field);
    const FieldHooks* hooksFor(const QObject* widget) const;

    // Graph and view history.
    void stepViewHistory(int direction);
    // Why the plot would refuse the window a navigation step leads to.
    QString navigationProblem(const ViewLimits& v) const;
    void showWindowTexts(const QStringList& texts);
    void showView(const ViewLimits& v);

    Dimension& dim_;
    Dialogs& dialogs_;
    LocaleAccess* locale_ = nullptr;
    QString helpFile_;
    QPointer<AboutWindow> about_;
    QPointer<HelpViewer> help_;

    // Field and command machinery.
    std::vector<FieldHooks> fields_;
    std::vector<QLineEdit*> commaFields_;
    QPointer<QWidget> focusField_;     // the field entered and not yet left
    bool inFocusChange_ = false;
    bool pumping_ = false;
    bool alive_ = true;
    QMetaObject::Connection focusConnection_;

    // Graph and view history.
    bool graphInvalidatedWhileDrawing_ = false;
    std::vector<QStringList> viewHistory_; // the four window texts of each window drawn
    std::size_t viewAt_ = 0;
    bool steppingHistory_ = false;
    // What the graph shown was drawn from: fields and check boxes may change
    // afterwards without blanking it (the options wait for the next Plot).
    struct ShownGraph;
    std::shared_ptr<const ShownGraph> shownGraph_;
};

} // namespace vendrak
