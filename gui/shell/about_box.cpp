#include "gui/shell/about_box.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>

#include "core/shell/app_settings.h"
#include "gui/shell/artwork.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

// A label that lets its clicks through to the box.
QLabel* text(const QString& content, QWidget* parent) {
    auto* label = new QLabel(content, parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("关于窗口");
    setWindowTitle("关于");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    auto* icon = text({}, this);
    icon->setPixmap(programIcon().pixmap(48, 48));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    auto* product = text("Brix Tallyframe2009", this);
    product->setObjectName("产品名称");
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    product->setFont(big);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(text("建筑装饰装修工程量分析", this), 0, Qt::AlignHCenter);
    auto* version =
        text(QStringLiteral("版本 %1    构建日期 %2").arg(TF_VERSION, TF_BUILD_DATE), this);
    version->setObjectName("版本");
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addSpacing(8);
    auto* notice = text(
        "本软件受著作权法和国际条约保护。未经许可，不得复制、修改或分发本软件的全部或部分。"
        "软件按“现状”提供，计算结果请经专业人员复核后使用；因使用本软件造成的任何损失，"
        "作者不承担责任。",
        this);
    notice->setObjectName("法律声明");
    notice->setWordWrap(true);
    layout->addWidget(notice);
    layout->addSpacing(8);
    auto* maker = text(QStringLiteral("Tallyframe 网站：%1").arg(qs(kMakerAddress)), this);
    maker->setObjectName("网站");
    maker->setStyleSheet("color: #1d4f91; text-decoration: underline;");
    maker->setCursor(Qt::PointingHandCursor);
    layout->addWidget(maker, 0, Qt::AlignHCenter);
    makerLine_ = maker;
    setFixedWidth(420);
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    if (makerLine_->geometry().contains(event->position().toPoint())) {
        QDesktopServices::openUrl(QUrl(qs(kMakerAddress)));
    }
    accept();
}

}  // namespace tf::gui
