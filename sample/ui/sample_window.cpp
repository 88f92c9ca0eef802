#include "sample/ui/sample_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <span>

#include "platform/dib/dib.h"
#include "platform/qt/accelerators.h"
#include "resources/sample/commands.h"

namespace qm71::sample {

// The client area: black until the first frame, then the frame at 1:1.
class SampleWindow::Client final : public QWidget {
  public:
    explicit Client(SampleWindow& window) : QWidget(&window), window_(window) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        window_.Render(window_.buffer_);
        QPainter(this).drawImage(0, 0, window_.buffer_);
    }

  private:
    SampleWindow& window_;
};

SampleWindow::SampleWindow(SampleApp& app, std::function<void(int)> command)
    : app_(app), command_(std::move(command)), client_(new Client(*this)) {
    setWindowTitle(QStringLiteral("QM71"));
    setCentralWidget(client_);
    setFocusPolicy(Qt::StrongFocus);
    BuildMenus();
}

void SampleWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    const auto item = [this](QMenu* menu, const QString& text, int id) {
        menu->addAction(text, this, [this, id] { command_(id); });
    };
    // The key stands in the item's text after the tab; it is not given to the
    // action as a shortcut as well, which would show it a second time. The
    // keys reach the window through its accelerator table in keyPressEvent.
    QMenu* grab = bar->addMenu(QStringLiteral("&Grab"));
    for (int id = ID_GRAB_FIRST; id <= ID_GRAB_LAST; ++id)
        item(grab, QString::fromUtf8(FindGrabCommand(id)->menuText), id);
    bar->addAction(QStringLiteral("&Size"), this, [this] { command_(ID_SIZE); });
    QMenu* lut = bar->addMenu(QStringLiteral("&Lut"));
    for (int id = ID_LUT_FIRST; id <= ID_LUT_LAST; ++id)
        item(lut, QString::fromUtf8(kLutMenuTexts[id - ID_LUT_FIRST]), id);
    // "?" stands at the right end of the bar.
    auto* right = new QMenuBar(bar);
    right->addAction(QStringLiteral("?"), this, [this] { command_(ID_ABOUT); });
    bar->setCornerWidget(right, Qt::TopRightCorner);
}

void SampleWindow::PlaceClient(int width, int height) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + screen.width() / 4, screen.y() + screen.height() / 4);
    // The client is the central widget: the menu bar comes on top of it.
    resize(width, height + menuBar()->sizeHint().height());
}

void SampleWindow::ShowFrame() {
    if (app_.ClientWidth() > 0 && app_.ClientHeight() > 0)
        PlaceClient(int(app_.ClientWidth()), int(app_.ClientHeight()));
    client_->repaint();
}

void SampleWindow::Render(QImage& target) {
    const QSize size = client_->size();
    if (target.size() != size) target = QImage(size, QImage::Format_RGB32);
    target.fill(Qt::black);
    const auto& image = app_.State().image;
    if (!image) return;
    const auto view = dib::ViewPackedDib(std::span(image->Header(), image->Size()));
    if (!view) return;
    // 1:1 from the top-left corner: only as much of the frame as fits.
    const int w = std::min(view->width, size.width());
    const int h = std::min(view->Rows(), size.height());
    if (w <= 0 || h <= 0) return;
    dib::Surface surface{reinterpret_cast<std::uint32_t*>(target.bits()), w, h,
                         target.bytesPerLine() / 4};
    dib::DrawDib(*view, {0, 0, w, h}, surface);
}

void SampleWindow::keyPressEvent(QKeyEvent* event) {
    if (const int id = TranslateAccelerator(*event, kSampleAccelerators)) {
        command_(id);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace qm71::sample
