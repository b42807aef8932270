#include "app/evaluation_frame.h"

#include "app/frame_host.h"
#include "app/window_controls.h"
#include "core/analysis/study_commands.h"
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vendrak {

EvaluationFrame::EvaluationFrame(QWidget* client, const ControlFactory& make, FrameHost& host)
    : host_(host)
{
    build(client, make);
    wire();
}

void EvaluationFrame::build(QWidget* client, const ControlFactory& make)
{
    fraEvalDer = make.frame(client, "fraEvalDer", "Evaluation of function or derivatives", 6000, 3375,
                            3495, 1095);
    lblDerNum = make.label(fraEvalDer, "lblDerNum", "Which derivative?", "", 0, 195, 1620, 285);
    txtDerNum = make.textBox(fraEvalDer, "txtDerNum", "0", "Enter 0 for the function itself", 1605, 195,
                             360, 285);
    lblXeval = make.label(fraEvalDer, "lblXeval", "At x=", "", 0, 495, 750, 285);
    txtXeval = make.textBox(fraEvalDer, "txtXeval", "0", "Point of evaluation", 720, 495, 2745, 285);
    cmdDerVal = make.button(fraEvalDer, "cmdDerVal", "&Value=", "Compute function or derivative",
                            lightOrange(), 0, 795, 715, 285);
    lblDerVal = make.valueLabel(fraEvalDer, "lblDerVal", "Value of function or derivative", 720, 795,
                                2745, 285);
}

void EvaluationFrame::wire()
{
    host_.addField(txtDerNum, [this] { host_.SelectAllText(txtDerNum); }, {}, {});
    host_.addField(txtXeval, [this] { host_.SelectAllText(txtXeval); }, {}, {});
    host_.addDecimalField(txtXeval);
    connect(cmdDerVal, &QPushButton::clicked, this,
            [this] { host_.runCommand(nullptr, [this] { cmdDerVal_Click(); }); });
}

void EvaluationFrame::clearValue() { lblDerVal->clear(); }

void EvaluationFrame::cmdDerVal_Click()
{
    lblDerVal->clear();
    Dimension& dim = host_.dim();
    const PointValue value =
        PointValueCommand(dim.series, dim.study, host_.studySpecTexts(), txtDerNum->text(), txtXeval->text());
    dim.errors.ScriptMath.ierr = 0;
    if (value.study)
        dim.study = *value.study;
    if (value.error)
        dim.errors.ierr = errorCode(*value.error);
    // The printed report's title names the order evaluated last.
    if (value.order)
        dim.study.DerivOrder = *value.order;
    lblDerVal->setText(value.text);
}

std::vector<QWidget*> EvaluationFrame::tabOrder() const { return {cmdDerVal, txtXeval, txtDerNum}; }

} // namespace vendrak
