#pragma once
// Series files at the edges of what numbers can hold, and a window that runs
// commands on them under a time limit: whatever the file, every command ends
// (with its message or quietly), none lets a run-time error escape to the
// window's last-resort message, and the window is still usable afterwards.
#include "core/series/series_file.h"
#include "core/study/dimension.h"
#include "app/main_window.h"
#include "support/fake_dialogs.h"
#include "support/watchdog.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace vendrak::test {

struct ExtremeFile {
    std::string name;
    QByteArray content;
    // Every drawing of it takes a second or more: tests repeat less.
    bool heavy = false;
};

inline QByteArray coefficientLines(int count, const std::function<QByteArray(int)>& text)
{
    QByteArray out;
    out.reserve(count * 24);
    for (int k = 0; k < count; ++k)
        out += text(k) + "\r\n";
    return out;
}

// A study part that keeps the scans of the long series short.
inline const QByteArray kShortStudy = "-0.9,0.9,16,.01,20,#FALSE#,0,0,0,0\r\n-1,1,-3,3,4,0,0,.5,1\r\n";

inline std::vector<ExtremeFile> extremeFiles()
{
    std::vector<ExtremeFile> files;
    auto header = [](const char* rest) { return QByteArray("0,\"extreme\",") + rest + "\r\n"; };
    files.push_back({"huge_coefficients", header("-10,10,0,1,0,4,#TRUE#")
                                              + coefficientLines(5, [](int k) {
                                                    return QByteArray(k % 2 ? "-1E+308" : "1E+308");
                                                })});
    files.push_back({"largest_coefficients", header("-1,1,0,1,0,2,#TRUE#")
                                                 + "1.7976931348623157E+308\r\n-1.7976931348623157E+308\r\n"
                                                   "1.7976931348623157E+308\r\n"});
    files.push_back({"subnormal_coefficients", header("-1,1,0,1,0,3,#TRUE#")
                                                   + "4.9E-324\r\n-4.9E-324\r\n2.2E-308\r\n-1E-320\r\n"});
    files.push_back({"tiny_period", header("-1,1,0,0,1E-300,5,#TRUE#") + "0\r\n1\r\n0.5\r\n-1\r\n0.25\r\n"});
    files.push_back({"huge_period", header("-1,1,0,0,1E+300,5,#TRUE#") + "0\r\n1\r\n0.5\r\n-1\r\n0.25\r\n"});
    files.push_back({"far_centre_power", header("-1,1,1E+300,1,0,3,#TRUE#") + "1\r\n-2\r\n1\r\n0.5\r\n"});
    files.push_back({"far_centre_trig", header("-1,1,-1E+300,0,*,5,#TRUE#") + "0\r\n1\r\n0.5\r\n-1\r\n0.25\r\n"});
    files.push_back({"widest_interval", header("-1E+308,1E+308,*,1,0,2,#TRUE#") + "-1\r\n0\r\n1\r\n"});
    files.push_back({"far_interval", header("1E+300,1.5E+300,*,1,0,1,#TRUE#") + "-1.2E+300\r\n1\r\n"});
    files.push_back({"tiny_interval", header("-1E-300,1E-300,0,1,0,2,#TRUE#") + "0\r\n1\r\n1\r\n"});
    files.push_back({"narrow_far_interval", header("1E+16,1.0000000000000004E+16,*,1,0,1,#TRUE#")
                                                + "-1E+16\r\n1\r\n"});
    // A study part at the edge of the settings: the widest plot window a
    // 32-bit float holds, divisions far below a pixel, the largest counts.
    files.push_back({"extreme_settings", header("-8,8,0,1,0,3,#TRUE#") + "0\r\n-1\r\n0\r\n0.1\r\n"
                                             "-8,8,4096,1E-300,1073741824,#FALSE#,0,0,0,0\r\n"
                                             "-3.4E+38,3.4E+38,-3.4E+38,3.4E+38,2147483647,0,0,1E-38,1E-38\r\n"});
    files.push_back({"extreme_settings_reversed", header("-8,8,0,1,0,3,#TRUE#") + "0\r\n-1\r\n0\r\n0.1\r\n"
                                                      "8,-8,-5,-1E-300,-5,#FALSE#,0,0,0,0\r\n"
                                                      "3,-3,2,-2,-7,1E+38,-1E+38,-1,0\r\n"});
    // 100,000 coefficients of each kind.
    files.push_back({"many_power", header("-1,1,0,1,0,99999,#TRUE#")
                                       + coefficientLines(100000, [](int k) {
                                             return QByteArray::number((k % 2 ? -1.0 : 1.0) / (k + 1), 'g', 15);
                                         })
                                       + kShortStudy,
                     true});
    files.push_back({"many_trig", header("-3,3,0,0,*,100000,#TRUE#")
                                      + coefficientLines(100000, [](int k) {
                                            return QByteArray::number(1.0 / ((k + 1.0) * (k + 1.0)), 'g', 15);
                                        })
                                      + kShortStudy,
                     true});
    return files;
}

// The printer dialog sends the report to a PDF file.
class ExtremeDialogs : public FakeDialogs {
public:
    QString pdfPath;
    bool printerSetup(QPrinter& printer) override
    {
        ++printAsked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
};

// A window for extreme files, with commands run under a time limit.
class ExtremeWindow {
public:
    // A command that runs longer than this fails the test; one that never
    // ends stops the test program after kHangLimit.
    static constexpr int kTimeLimitMs = 30000;
    static constexpr std::chrono::seconds kHangLimit{120};

    explicit ExtremeWindow(std::string name) : name_(std::move(name)) { dlg.pdfPath = dir.filePath("report.pdf"); }
    explicit ExtremeWindow(const ExtremeFile& file) : ExtremeWindow(file.name) { path = write(file); }

    // The file in the window's folder; its path.
    QString write(const ExtremeFile& file) const
    {
        QFile f(dir.filePath(QString::fromStdString(file.name) + ".txt"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(file.content) == file.content.size()) << file.name;
        return f.fileName();
    }

    // Runs one command; checks that it ended in time and that no run-time
    // error escaped the command's own trap.
    void run(const std::string& what, const std::function<void()>& command)
    {
        const std::size_t shown = dlg.messages.size();
        const std::string step = name_ + ": " + what;
        watchdog.arm(step, kHangLimit);
        QElapsedTimer t;
        t.start();
        command();
        const qint64 ms = t.elapsed();
        watchdog.disarm();
        EXPECT_LT(ms, kTimeLimitMs) << step;
        EXPECT_FALSE(dim.RestoringStudy) << step;
        EXPECT_FALSE(w.DrawingGraph) << step;
        for (std::size_t i = shown; i < dlg.messages.size(); ++i) {
            const auto& m = dlg.messages[i];
            EXPECT_EQ(m.title, "Vendrak") << step;
            EXPECT_FALSE(m.text.isEmpty()) << step;
            EXPECT_NE(m.icon, Dialogs::Icon::Critical)
                << step << ": an error escaped the command: " << m.text.toStdString();
        }
    }

    // Opening plots at once, which may have its own message.
    void open()
    {
        run("open", [this] { w.OpenSeriesFileNamed(path); });
        ASSERT_EQ(dim.FileName, path) << "the file was not accepted";
    }

    QTemporaryDir dir;
    QString path;
    Dimension dim;
    ExtremeDialogs dlg;
    MainWindow w{dim, dlg};
    Watchdog watchdog;

private:
    std::string name_;
};

inline void PrintTo(const ExtremeFile& f, std::ostream* os) { *os << f.name; }

inline std::string extremeFileName(const ::testing::TestParamInfo<ExtremeFile>& info) { return info.param.name; }

} // namespace vendrak::test
