#include <QFont>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeView>
#include <string>

#include "app/ControlNames.h"
#include "app/Pages.h"
#include "base/Overrides.h"
#include "export/ProductColumns.h"

namespace korvel {
namespace {

// The start and export buttons stand out from the rest of the page.
void UseButtonFace(QWidget* button)
{
    QFont font(QStringLiteral("微软雅黑"));
    font.setBold(true);
    font.setPixelSize(14);
    button->setFont(font);
}

// KORVEL_SHOP_HOST puts another host in the address field at start (the offline demo uses it).
std::string StartShopHost()
{
    const std::string host = overrides::ShopHost();
    return host.empty() ? kSampleShopHost : host;
}

}  // namespace

std::vector<ListColumn> ProductColumns()
{
    constexpr int widths[ProductListColumns.size()] = {50, 100, 100, 400, 80, 80, 60, 50};
    std::vector<ListColumn> columns;
    for (size_t column = 0; column < ProductListColumns.size(); ++column)
        columns.push_back({ProductListColumns[column].title, widths[column]});
    return columns;
}

void BuildShopCollectionPage(QWidget* page, ProductTableModel* products)
{
    MakeLabel(page, names::ShopAddressLabel, {16, 31, 112, 24}, "（淘宝/天猫）网址：");
    MakeEdit(page, names::ShopAddress, {130, 32, 261, 24}, StartShopHost().c_str());
    MakeLabel(page, names::ShopAddressNote, {404, 36, 507, 15},
              "注：不要带任何参数。例如 xxx.tmall.com 或 shopxxx.taobao.com 或 xxx.taobao.com");
    UseButtonFace(MakeButton(page, names::StartButton, {130, 66, 150, 30}, "开始采集"));
    MakeListView(page, names::ProductList, {8, 101, 959, 300}, products, ProductColumns());
    MakeLabel(page, names::TotalLabel, {8, 416, 183, 24}, "采集商品总数：");
    MakeLabel(page, names::PageCountLabel, {206, 416, 128, 24}, "商品页数：");
    UseButtonFace(MakeButton(page, names::ExportIdsButton, {8, 448, 120, 32}, "商品ID导出"));
    UseButtonFace(MakeButton(page, names::ExportAllButton, {152, 448, 120, 32}, "导出所有信息"));

    QWidget* account = MakeGroupBox(page, names::BackendAccountBox, {343, 409, 624, 72});
    MakeLabel(account, names::BackendUserLabel, {16, 24, 56, 32}, "用户名：");
    MakeEdit(account, names::BackendUser, {72, 24, 150, 32}, "");
    MakeLabel(account, names::BackendPasswordLabel, {233, 24, 40, 32}, "密码：");
    MakePasswordEdit(account, names::BackendPassword, {274, 24, 150, 32});
}

}  // namespace korvel
