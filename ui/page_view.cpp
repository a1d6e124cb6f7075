#include "ui/page_view.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace vardel {
namespace {

// A grey gap between the pages, so that one page's foot is not taken for the next one's head.
constexpr int kPageGap = 12;

}  // namespace

PageView::PageView(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setFocusPolicy(Qt::StrongFocus);
    // The scroll bar stays in place, disabled when the page fits, so the page never jumps
    // sideways when it appears.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setObjectName(QStringLiteral("VScroll"));
    sheet_ = new QWidget;
    sheet_->setAutoFillBackground(true);
    QPalette grey = sheet_->palette();
    grey.setColor(QPalette::Window, QColor(0xd0, 0xd0, 0xd0));
    sheet_->setPalette(grey);
    layout_ = new QVBoxLayout(sheet_);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(kPageGap);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    first_ = new QLabel;
    first_->setObjectName(QStringLiteral("Picture2"));
    first_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout_->addWidget(first_);
    labels_.push_back(first_);
    setWidget(sheet_);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { NotePage(); });
}

void PageView::Clear() {
    SetPages({}, 1);
}

void PageView::SetPages(std::vector<QImage> pages, qreal devicePixelRatio) {
    const int keep = std::max(0, CurrentPage());
    while (labels_.size() > std::max<size_t>(1, pages.size())) {
        delete labels_.back();
        labels_.pop_back();
    }
    while (labels_.size() < pages.size()) {
        auto* label = new QLabel;
        label->setObjectName(QStringLiteral("Picture2_%1").arg(labels_.size() + 1));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout_->addWidget(label);
        labels_.push_back(label);
    }
    if (pages.empty()) {
        first_->clear();
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        pages[i].setDevicePixelRatio(devicePixelRatio);
        labels_[i]->setPixmap(QPixmap::fromImage(pages[i]));
        labels_[i]->resize(labels_[i]->sizeHint());
    }
    // Laid out now, not when the window next shows: the page in view is read from the pages'
    // places.
    layout_->activate();
    sheet_->adjustSize();
    ShowPage(std::min(keep, PageCount() - 1));
    NotePage();
}

int PageView::CurrentPage() const {
    // At the end of the sheet the last pages may not reach the top: the last one whose top shows.
    const QScrollBar* bar = verticalScrollBar();
    const int probe = bar->value() + (bar->value() >= bar->maximum() ? viewport()->height() - 1
                                                                     : viewport()->height() / 3);
    int current = 0;
    for (size_t i = 1; i < labels_.size(); ++i) {
        if (labels_[i]->y() > labels_[i - 1]->y() && labels_[i]->y() <= probe) {
            current = static_cast<int>(i);
        }
    }
    return current;
}

void PageView::ShowPage(int index) {
    if (index < 0 || index >= PageCount()) {
        return;
    }
    verticalScrollBar()->setValue(labels_[static_cast<size_t>(index)]->y());
    NotePage();
}

void PageView::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int current = CurrentPage();
    switch (event->key()) {
        case Qt::Key_PageDown:
            // Within a page taller than the view, the rest of it first.
            if (current + 1 < PageCount() &&
                labels_[static_cast<size_t>(current) + 1]->y() <=
                    verticalScrollBar()->value() + viewport()->height()) {
                ShowPage(current + 1);
                return;
            }
            break;
        case Qt::Key_PageUp:
            if (labels_[static_cast<size_t>(current)]->y() >= verticalScrollBar()->value() &&
                current > 0) {
                ShowPage(current - 1);
                return;
            }
            break;
        case Qt::Key_Home:
            if (ctrl) {
                ShowPage(0);
                return;
            }
            break;
        case Qt::Key_End:
            if (ctrl) {
                ShowPage(PageCount() - 1);
                return;
            }
            break;
        default:
            break;
    }
    QScrollArea::keyPressEvent(event);
}

void PageView::NotePage() {
    emit currentPageChanged(CurrentPage(), PageCount());
}

}  // namespace vardel
