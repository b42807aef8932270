#pragma once
// Series files at the edges of what numbers can hold, and a window that runs
// commands on them under a time limit: whatever the file, every command ends
// (with its message or quietly), none lets a run-time error escape to the
// window's last-resort message, and the window is still usable afterwards.
#include "core/series/series_file.h"
#include "support/shown_window.h"
#include "support/watchdog.h"

#include <QElapsedTimer>
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
    bool heavy = false; // every drawing takes a second or more: tests repeat less
};

inline std::vector<ExtremeFile> extremeFiles()
{
    const auto header = [](const char* rest) { return QByteArray("0,\"extreme\",") + rest + "\r\n"; };
    const auto lines = [](int count, const std::function<double(int)>& value) {
        QByteArray out;
        for (int k = 0; k < count; ++k)
            out += QByteArray::number(value(k), 'g', 15) + "\r\n";
        // A study part that keeps the scans of the long series short.
        return out + "-0.9,0.9,16,.01,20,#FALSE#,0,0,0,0\r\n-1,1,-3,3,4,0,0,.5,1\r\n";
    };
    const QByteArray trig5 = "0\r\n1\r\n0.5\r\n-1\r\n0.25\r\n";
    const QByteArray cubic = "0\r\n-1\r\n0\r\n0.1\r\n";
    return {
        {"huge_coefficients", header("-10,10,0,1,0,4,#TRUE#") + "1E+308\r\n-1E+308\r\n1E+308\r\n-1E+308\r\n1E+308\r\n"},
        {"largest_coefficients", header("-1,1,0,1,0,2,#TRUE#")
                                     + "1.7976931348623157E+308\r\n-1.7976931348623157E+308\r\n1.7976931348623157E+308\r\n"},
        {"subnormal_coefficients", header("-1,1,0,1,0,3,#TRUE#") + "4.9E-324\r\n-4.9E-324\r\n2.2E-308\r\n-1E-320\r\n"},
        {"tiny_period", header("-1,1,0,0,1E-300,5,#TRUE#") + trig5},
        {"huge_period", header("-1,1,0,0,1E+300,5,#TRUE#") + trig5},
        {"far_centre_power", header("-1,1,1E+300,1,0,3,#TRUE#") + "1\r\n-2\r\n1\r\n0.5\r\n"},
        {"far_centre_trig", header("-1,1,-1E+300,0,*,5,#TRUE#") + trig5},
        {"widest_interval", header("-1E+308,1E+308,*,1,0,2,#TRUE#") + "-1\r\n0\r\n1\r\n"},
        {"far_interval", header("1E+300,1.5E+300,*,1,0,1,#TRUE#") + "-1.2E+300\r\n1\r\n"},
        {"tiny_interval", header("-1E-300,1E-300,0,1,0,2,#TRUE#") + "0\r\n1\r\n1\r\n"},
        {"narrow_far_interval", header("1E+16,1.0000000000000004E+16,*,1,0,1,#TRUE#") + "-1E+16\r\n1\r\n"},
        // Settings at their edges: the widest plot window a float holds,
        // divisions far below a pixel, the largest counts; then reversed.
        {"extreme_settings", header("-8,8,0,1,0,3,#TRUE#") + cubic
                                 + "-8,8,4096,1E-300,1073741824,#FALSE#,0,0,0,0\r\n"
                                   "-3.4E+38,3.4E+38,-3.4E+38,3.4E+38,2147483647,0,0,1E-38,1E-38\r\n"},
        {"extreme_settings_reversed", header("-8,8,0,1,0,3,#TRUE#") + cubic
                                          + "8,-8,-5,-1E-300,-5,#FALSE#,0,0,0,0\r\n3,-3,2,-2,-7,1E+38,-1E+38,-1,0\r\n"},
        {"many_power", header("-1,1,0,1,0,99999,#TRUE#") + lines(100000, [](int k) { return (k % 2 ? -1.0 : 1.0) / (k + 1); }),
         true},
        {"many_trig", header("-3,3,0,0,*,100000,#TRUE#") + lines(100000, [](int k) { return 1.0 / ((k + 1.0) * (k + 1.0)); }),
         true},
    };
}

// A window for extreme files, with commands run under a time limit.
class ExtremeWindow : public Window {
public:
    static constexpr int kTimeLimitMs = 30000;             // longer fails the test
    static constexpr std::chrono::seconds kHangLimit{120}; // longer stops the program

    explicit ExtremeWindow(std::string name) : name_(std::move(name)) { dlg.pdfPath = dir.filePath("report.pdf"); }
    explicit ExtremeWindow(const ExtremeFile& file) : ExtremeWindow(file.name) { path = write(file); }

    QString write(const ExtremeFile& file) const
    {
        const QString p = dir.filePath(QString::fromStdString(file.name) + ".txt");
        EXPECT_TRUE(put(p, file.content)) << file.name;
        return p;
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
        EXPECT_FALSE(dim.window.RestoringStudy || w.drawingGraph()) << step;
        for (std::size_t i = shown; i < dlg.messages.size(); ++i) {
            const auto& m = dlg.messages[i];
            EXPECT_EQ(m.title, "Vendrak") << step;
            EXPECT_NE(m.icon, Dialogs::Icon::Critical) << step << ": an error escaped: " << m.text.toStdString();
        }
    }

    QTemporaryDir dir;
    QString path;
    Watchdog watchdog;

private:
    std::string name_;
};

inline std::string extremeFileName(const ::testing::TestParamInfo<ExtremeFile>& info) { return info.param.name; }
inline void PrintTo(const ExtremeFile& f, std::ostream* os) { *os << f.name; }

} // namespace vendrak::test
