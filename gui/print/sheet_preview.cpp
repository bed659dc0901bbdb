#include "gui/print/sheet_preview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace tf::gui {
namespace {

constexpr int kScreenDpi = 96;
constexpr int kGap = 16;
// Pages kept drawn: the screen's and the next ones on either side.
constexpr std::size_t kPagesKept = 6;
constexpr double kSmallestZoom = 0.1;
constexpr double kLargestZoom = 4;

}  // namespace

PageStrip::PageStrip(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("预览页面");
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PageStrip::setPages(const SheetPages* pages) {
    pages_ = pages;
    cache_.clear();
    layOut();
    viewport()->update();
}

QSizeF PageStrip::paperPixels() const {
    return pages_ ? pages_->layout().fullRectPixels(kScreenDpi).size() : QSizeF(1, 1);
}

int PageStrip::stride() const {
    return static_cast<int>(std::ceil(paperPixels().height() * zoom_)) + kGap;
}

double PageStrip::widthZoom() const {
    return std::max(kSmallestZoom, (viewport()->width() - 2.0 * kGap) / paperPixels().width());
}

void PageStrip::setZoom(double zoom) {
    zoom = std::clamp(zoom, kSmallestZoom, kLargestZoom);
    if (zoom == zoom_) {
        return;
    }
    const int page = currentPage();
    zoom_ = zoom;
    cache_.clear();
    layOut();
    showPage(page);
    viewport()->update();
}

void PageStrip::layOut() {
    const int pages = pages_ ? pages_->count() : 0;
    const QSize view = viewport()->size();
    verticalScrollBar()->setRange(0, std::max(0, kGap + pages * stride() - view.height()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
    verticalScrollBar()->setSingleStep(std::max(1, stride() / 20));
    const int width = static_cast<int>(std::ceil(paperPixels().width() * zoom_)) + 2 * kGap;
    horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
}

int PageStrip::currentPage() const {
    if (!pages_ || pages_->count() == 0) {
        return 0;
    }
    const int middle = verticalScrollBar()->value() + viewport()->height() / 2 - kGap;
    return std::clamp(middle / stride(), 0, pages_->count() - 1);
}

void PageStrip::showPage(int page) {
    verticalScrollBar()->setValue(std::max(0, page) * stride());
}

const QImage& PageStrip::pageImage(int page) {
    const auto kept = std::find_if(cache_.begin(), cache_.end(),
                                   [page](const auto& entry) { return entry.first == page; });
    if (kept != cache_.end()) {
        return kept->second;
    }
    const QSizeF paper = paperPixels() * zoom_;
    QImage image(QSize(static_cast<int>(std::ceil(paper.width())),
                       static_cast<int>(std::ceil(paper.height()))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(zoom_, zoom_);
        painter.translate(pages_->layout().paintRectPixels(kScreenDpi).topLeft());
        pages_->paint(painter, page);
    }
    ++drawn_;
    cache_.emplace_front(page, std::move(image));
    if (cache_.size() > kPagesKept) {
        cache_.pop_back();
    }
    return cache_.front().second;
}

void PageStrip::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), QColor(160, 160, 160));
    if (!pages_) {
        return;
    }
    const int top = verticalScrollBar()->value();
    const int pageWidth = static_cast<int>(std::ceil(paperPixels().width() * zoom_));
    const int x =
        std::max(kGap, (viewport()->width() - pageWidth) / 2) - horizontalScrollBar()->value();
    for (int page = std::max(0, (top - kGap) / stride()); page < pages_->count(); ++page) {
        const int y = kGap + page * stride() - top;
        if (y >= viewport()->height()) {
            break;
        }
        const QImage& image = pageImage(page);
        painter.fillRect(QRect(x + 3, y + 3, image.width(), image.height()), QColor(90, 90, 90));
        painter.drawImage(x, y, image);
    }
}

void PageStrip::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layOut();
}

void PageStrip::scrollContentsBy(int, int) {
    viewport()->update();
    if (const int page = currentPage(); page != lastReported_) {
        lastReported_ = page;
        emit currentPageChanged(page);
    }
}

SheetPreview::SheetPreview(const Grid& grid, const SheetTitle& title, const QPageLayout& layout,
                           std::function<void(const QPageLayout&)> print, QWidget* parent,
                           std::function<PagePainter(const QPageLayout&)> extraPage)
    : QDialog(parent),
      grid_(grid),
      title_(title),
      print_(std::move(print)),
      extraPage_(std::move(extraPage)) {
    setObjectName("打印预览");
    setWindowTitle("打印预览");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    column->addLayout(bar);
    strip_ = new PageStrip(this);
    column->addWidget(strip_, 1);

    const auto button = [&](const char* caption, const char* name, auto slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    button("上一页", "上一页", [this] { strip_->showPage(strip_->currentPage() - 1); });
    page_ = new QSpinBox(this);
    page_->setObjectName("页码");
    page_->setPrefix("第 ");
    page_->setSuffix(" 页");
    bar->addWidget(page_);
    count_ = new QLabel(this);
    bar->addWidget(count_);
    button("下一页", "下一页", [this] { strip_->showPage(strip_->currentPage() + 1); });
    zoom_ = new QComboBox(this);
    zoom_->setObjectName("缩放");
    zoom_->addItem("适合宽度", 0.0);
    for (const int percent : {50, 75, 100, 125, 150, 200}) {
        zoom_->addItem(QString::number(percent) + " %", percent / 100.0);
    }
    bar->addWidget(zoom_);
    button("页面设置…", "页面设置", [this] { choosePageSetup(); });
    button("打印…", "打印", [this] { print_(pageLayout()); });
    bar->addStretch(1);
    button("关闭", "关闭", [this] { accept(); });

    connect(page_, &QSpinBox::valueChanged, this, [this](int page) {
        if (page - 1 != strip_->currentPage()) {
            strip_->showPage(page - 1);
        }
    });
    connect(strip_, &PageStrip::currentPageChanged, this,
            [this](int page) { page_->setValue(page + 1); });
    connect(zoom_, &QComboBox::activated, this, [this](int index) {
        const double zoom = zoom_->itemData(index).toDouble();
        strip_->setZoom(zoom > 0 ? zoom : strip_->widthZoom());
    });
    setPageLayout(layout);
    resize(1000, 700);
}

void SheetPreview::setPageLayout(const QPageLayout& layout) {
    const int page = strip_->currentPage();
    auto pages = std::make_unique<SheetPages>(grid_, title_, layout,
                                              extraPage_ ? extraPage_(layout) : PagePainter{});
    strip_->setPages(pages.get());
    pages_ = std::move(pages);
    page_->setRange(1, std::max(1, pages_->count()));
    count_->setText(QString("共 %1 页").arg(pages_->count()));
    strip_->showPage(std::min(page, pages_->count() - 1));
    showZoom();
}

void SheetPreview::showZoom() {
    // A whole page in the window shows the small type of a wide table as a blur: as wide as
    // the window, never smaller than the paper itself.
    const bool actualSize = strip_->widthZoom() <= 1.0;
    strip_->setZoom(actualSize ? 1.0 : strip_->widthZoom());
    zoom_->setCurrentIndex(actualSize ? zoom_->findData(1.0) : 0);
}

void SheetPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showZoom();  // the window's width is known now
}

void SheetPreview::choosePageSetup() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout());
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        setPageLayout(printer.pageLayout());
    }
}

}  // namespace tf::gui
