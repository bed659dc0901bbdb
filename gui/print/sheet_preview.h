#pragma once

#include <QAbstractScrollArea>
#include <QDialog>
#include <QImage>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

#include "gui/print/grid_printer.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace tf::gui {

// The pages of a sheet one under the other, each drawn when it comes into view and a few
// kept: a sheet of twenty thousand pages shows its first at once and holds no more memory
// than a handful of pages.
class PageStrip : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit PageStrip(QWidget* parent);

    void setPages(const SheetPages* pages);
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    // The zoom at which a page fills the strip's width.
    double widthZoom() const;
    int currentPage() const;
    void showPage(int page);
    // How many page images were drawn so far, and how many are kept now.
    int pagesDrawn() const { return drawn_; }
    int pagesKept() const { return static_cast<int>(cache_.size()); }

  signals:
    void currentPageChanged(int page);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    QSizeF paperPixels() const;  // at zoom 1
    int stride() const;          // a page and the gap under it, at the zoom
    const QImage& pageImage(int page);
    void layOut();

    const SheetPages* pages_ = nullptr;
    double zoom_ = 1;
    std::deque<std::pair<int, QImage>> cache_;  // the latest first
    int drawn_ = 0;
    int lastReported_ = -1;
};

// "打印预览": the sheet on the page the editor prints it on. The page can be set up here
// (页面设置); printing is the editor's, asked through `print`.
class SheetPreview : public QDialog {
    Q_OBJECT
  public:
    // `extraPage` gives the page after the sheet's (a chart) for a page layout, or none.
    SheetPreview(const Grid& grid, const SheetTitle& title, const QPageLayout& layout,
                 std::function<void(const QPageLayout&)> print, QWidget* parent,
                 std::function<PagePainter(const QPageLayout&)> extraPage = {});

    const QPageLayout& pageLayout() const { return pages_->layout(); }
    // The sheet laid out again on another page (what 页面设置 does).
    void setPageLayout(const QPageLayout& layout);
    int pageCount() const { return pages_->count(); }
    PageStrip& strip() { return *strip_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void choosePageSetup();
    void showZoom();

    const Grid& grid_;
    SheetTitle title_;
    std::unique_ptr<SheetPages> pages_;
    std::function<void(const QPageLayout&)> print_;
    std::function<PagePainter(const QPageLayout&)> extraPage_;
    PageStrip* strip_ = nullptr;
    QSpinBox* page_ = nullptr;
    QLabel* count_ = nullptr;
    QComboBox* zoom_ = nullptr;
};

}  // namespace tf::gui
