#pragma once
// The navigation frame: zoom, quadrant, window and pan buttons. Each click
// asks the window for one navigation step; the frame holds no state.
#include <QObject>

#include <vector>

class QGroupBox;
class QPushButton;
class QWidget;

namespace vendrak {

class ControlFactory;
class FrameHost;

class NavigationFrame : public QObject {
public:
    // Builds the frame inside the window's client area and wires its buttons.
    NavigationFrame(QWidget* client, const ControlFactory& make, FrameHost& host);

    // The frame's controls in the order the Tab key visits them.
    std::vector<QWidget*> tabOrder() const;

private:
    QGroupBox* fraZoomPan = nullptr;
    QGroupBox* fraZoom = nullptr;
    QPushButton* cmdZoomIn = nullptr;
    QPushButton* cmdZoomOut = nullptr;
    QGroupBox* fraZoomQuad = nullptr;
    QPushButton* cmdZoomQ1 = nullptr;
    QPushButton* cmdZoomQ2 = nullptr;
    QPushButton* cmdZoomQ3 = nullptr;
    QPushButton* cmdZoomQ4 = nullptr;
    QGroupBox* FraWindow = nullptr;
    QPushButton* cmdIncWindY = nullptr;
    QPushButton* cmdDecWindX = nullptr;
    QPushButton* cmdIncWindX = nullptr;
    QPushButton* cmdDecWindY = nullptr;
    QGroupBox* fraPan = nullptr;
    QPushButton* cmdPanUp = nullptr;
    QPushButton* cmdPanLeft = nullptr;
    QPushButton* cmdPanRight = nullptr;
    QPushButton* cmdPanDown = nullptr;

    void build(QWidget* client, const ControlFactory& make);
    void wire();

    FrameHost& host_;
};

} // namespace vendrak
