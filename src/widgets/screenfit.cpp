#include "widgets/screenfit.h"

#include <QEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace brenzola {

namespace {

// Until the window manager has framed the window its frame is unknown; this allows for
// a common title bar and border meanwhile.
constexpr QMargins kLikelyFrame(4, 32, 4, 4);
// Time for the window manager to report the real frame; later moves are the user's.
constexpr int kSettleMs = 2000;

class ScreenPlacement final : public QObject {
public:
    ScreenPlacement(QWidget* window, const QWidget* accanto) : QObject(window), window_(window), accanto_(accanto)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !wanted_.isValid()) {
            wanted_ = window_->size();
            place(frame().isNull() ? kLikelyFrame : frame());
            QTimer::singleShot(kSettleMs, this, &QObject::deleteLater);
        } else if (wanted_.isValid() && (event->type() == QEvent::Move || event->type() == QEvent::Resize) && !frame().isNull()
                   && frame() != assumed_) {
            // The real frame is known now: place again with it, once.
            place(frame());
            deleteLater();
        }
        return false;
    }

private:
    QMargins frame() const
    {
        const QRect outer = window_->frameGeometry();
        const QRect inner = window_->geometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                outer.bottom() - inner.bottom()};
    }

    void place(const QMargins& frame)
    {
        assumed_ = frame;
        const QScreen* screen = window_->screen();
        if (!screen) return;
        const QRect area = screen->availableGeometry();
        QRect outer(QPoint(), wanted_.boundedTo(area.size().shrunkBy(frame)).grownBy(frame));
        outer.moveCenter(area.center());
        if (accanto_ && accanto_->isVisible()) {
            // Beside the other window, on the side with more room, narrowed to it when that
            // still leaves most of the window.
            const QRect altra = accanto_->frameGeometry();
            constexpr int kDistacco = 8;  // apart, not frame to frame
            const int destra = area.right() - altra.right() - kDistacco;
            const int sinistra = altra.left() - area.left() - kDistacco;
            const int spazio = std::max(destra, sinistra);
            const int minima = std::max(window_->minimumSizeHint().width() + frame.left() + frame.right(), outer.width() * 2 / 3);
            if (spazio >= minima) {
                outer.setWidth(std::min(outer.width(), spazio));
                outer.moveLeft(destra >= sinistra ? altra.right() + 1 + kDistacco : altra.left() - kDistacco - outer.width());
                outer.moveTop(std::max(area.top(), std::min(altra.top(), area.bottom() + 1 - outer.height())));
            }
        }
        window_->resize(outer.size().shrunkBy(frame));
        outer.moveTopLeft(QPoint(std::max(outer.left(), area.left()), std::max(outer.top(), area.top())));
        window_->move(outer.topLeft());  // a window's position is its frame's
    }

    QWidget* window_;
    const QWidget* accanto_;
    QSize wanted_;  // the window's own size, before the screen had a say
    QMargins assumed_;
};

}  // namespace

QWidget* addDesignedPage(QWidget* window, QSize designed)
{
    auto* scroll = new QScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // not a stop of its own in the tab order
    scroll->setWidgetResizable(true);
    auto* page = new QWidget;
    page->setMinimumSize(designed);
    scroll->setWidget(page);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    return page;
}

void keepOnScreen(QWidget* window, const QWidget* accanto) { new ScreenPlacement(window, accanto); }

}  // namespace brenzola
