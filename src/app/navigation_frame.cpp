#include "app/navigation_frame.h"

#include "app/frame_host.h"
#include "app/window_controls.h"
#include "core/graph/navigation.h"

#include <QGroupBox>
#include <QPushButton>

#include <utility>

namespace vendrak {

NavigationFrame::NavigationFrame(QWidget* client, const ControlFactory& make, FrameHost& host)
    : host_(host)
{
    build(client, make);
    wire();
}

void NavigationFrame::build(QWidget* client, const ControlFactory& make)
{
    fraZoomPan = make.frame(client, "fraZoomPan", "Graph", 0, 4785, 2025, 1740);
    fraZoom = make.frame(fraZoomPan, "fraZoom", "Zoom", 30, 210, 945, 1400);
    cmdZoomIn = make.button(fraZoom, "cmdZoomIn", "In", "Zoom in", lightPink(), 45, 240, 400, 250);
    cmdZoomOut = make.button(fraZoom, "cmdZoomOut", "Out", "Zoom out", lightPink(), 495, 240, 400, 250);
    fraZoomQuad = make.frame(fraZoom, "fraZoomQuad", "Quadrant", 30, 480, 880, 855);
    cmdZoomQ2 = make.button(fraZoomQuad, "cmdZoomQ2", "2", "Zoom quadrant 2", lightPink(), 165, 240,
                            250, 250);
    cmdZoomQ1 = make.button(fraZoomQuad, "cmdZoomQ1", "1", "Zoom quadrant 1", lightPink(), 435, 240,
                            250, 250);
    cmdZoomQ3 = make.button(fraZoomQuad, "cmdZoomQ3", "3", "Zoom quadrant 3", lightPink(), 165, 500,
                            250, 250);
    cmdZoomQ4 = make.button(fraZoomQuad, "cmdZoomQ4", "4", "Zoom quadrant 4", lightPink(), 435, 500,
                            250, 250);
    FraWindow = make.frame(fraZoomPan, "FraWindow", "Window", 975, 105, 990, 870);
    cmdIncWindY = make.button(FraWindow, "cmdIncWindY", "y+", "Wider y-window", lightPink(), 375, 180,
                              255, 255);
    cmdDecWindX = make.button(FraWindow, "cmdDecWindX", "x-", "Narrower x-window", lightPink(), 75, 375,
                              255, 255);
    cmdIncWindX = make.button(FraWindow, "cmdIncWindX", "x+", "Wider x-window", lightPink(), 675, 375,
                              255, 255);
    cmdDecWindY = make.button(FraWindow, "cmdDecWindY", "y-", "Narrower y-window", lightPink(), 375, 570,
                              255, 255);
    fraPan = make.frame(fraZoomPan, "fraPan", "Pan", 975, 945, 990, 765);
    cmdPanUp = make.button(fraPan, "cmdPanUp", "U", "Pan up", lightPink(), 390, 180, 210, 210);
    cmdPanLeft = make.button(fraPan, "cmdPanLeft", "L", "Pan left", lightPink(), 150, 345, 210, 210);
    cmdPanRight = make.button(fraPan, "cmdPanRight", "R", "Pan right", lightPink(), 630, 345, 210, 210);
    cmdPanDown = make.button(fraPan, "cmdPanDown", "D", "Pan down", lightPink(), 390, 510, 210, 210);
}

void NavigationFrame::wire()
{
    const std::pair<QPushButton*, ViewAction> steps[] = {
        {cmdZoomIn, ViewAction::ZoomIn},        {cmdZoomOut, ViewAction::ZoomOut},
        {cmdZoomQ1, ViewAction::Quadrant1},     {cmdZoomQ2, ViewAction::Quadrant2},
        {cmdZoomQ3, ViewAction::Quadrant3},     {cmdZoomQ4, ViewAction::Quadrant4},
        {cmdIncWindY, ViewAction::WiderY},      {cmdDecWindY, ViewAction::NarrowerY},
        {cmdIncWindX, ViewAction::WiderX},      {cmdDecWindX, ViewAction::NarrowerX},
        {cmdPanUp, ViewAction::PanUp},          {cmdPanDown, ViewAction::PanDown},
        {cmdPanLeft, ViewAction::PanLeft},      {cmdPanRight, ViewAction::PanRight},
    };
    for (const auto& [button, action] : steps)
        connect(button, &QPushButton::clicked, this, [this, action = action] {
            host_.runCommand(nullptr, [this, action] { host_.ChangeView(action); });
        });
}

std::vector<QWidget*> NavigationFrame::tabOrder() const
{
    return {cmdIncWindY, cmdDecWindY, cmdIncWindX, cmdDecWindX, cmdZoomOut, cmdZoomIn,   cmdZoomQ1,
            cmdZoomQ2,   cmdZoomQ4,   cmdZoomQ3,   cmdPanLeft,  cmdPanRight, cmdPanDown, cmdPanUp};
}

} // namespace vendrak
