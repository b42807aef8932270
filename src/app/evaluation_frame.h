#pragma once
// The evaluation frame: the value of the function or one of its derivatives
// at a point, by the Value= command.
#include <QObject>

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vendrak {

class ControlFactory;
class FrameHost;

class EvaluationFrame : public QObject {
public:
    // Builds the frame inside the window's client area and wires its fields
    // and its command.
    EvaluationFrame(QWidget* client, const ControlFactory& make, FrameHost& host);

    // A value shown belongs to the series it was computed for.
    void clearValue();
    // The frame's controls in the order the Tab key visits them.
    std::vector<QWidget*> tabOrder() const;

private:
    QGroupBox* fraEvalDer = nullptr;
    QLabel* lblDerNum = nullptr;
    QLineEdit* txtDerNum = nullptr;
    QLabel* lblXeval = nullptr;
    QLineEdit* txtXeval = nullptr;
    QPushButton* cmdDerVal = nullptr;
    QLabel* lblDerVal = nullptr;

    void build(QWidget* client, const ControlFactory& make);
    void wire();
    void cmdDerVal_Click();

    FrameHost& host_;
};

} // namespace vendrak
