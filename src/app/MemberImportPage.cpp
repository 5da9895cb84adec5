#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/Pages.h"

namespace korvel {

std::vector<ListColumn> MemberColumns()
{
    return {{"ID", 50},   {"公众号", 60},   {"用户标识", 180}, {"上级标识", 180}, {"用户姓名", 150},
            {"性别", 50}, {"手机号码", 80}, {"用户邮箱", 100}, {"用户密码", 100}, {"余额", 60},
            {"积分", 60}, {"关注", 50},     {"状态", 50},      {"推广人", 50},    {"国家", 60},
            {"省份", 80}, {"城市", 80},     {"头像", 500},     {"", 50}};
}

void BuildMemberImportPage(QWidget* page, GbkTableModel* members)
{
    QWidget* box = MakeGroupBox(page, names::DatabaseBox, {10, 25, 237, 225});
    MakeBold(MakeLabel(box, names::DatabaseHostLabel, {11, 10, 64, 32}, "数据库地址:"));
    MakeEdit(box, names::DatabaseHost, {83, 10, 144, 32}, "127.0.0.1");
    MakeBold(MakeLabel(box, names::DatabaseUserLabel, {13, 50, 64, 32}, "用户名:"));
    MakeEdit(box, names::DatabaseUser, {83, 52, 144, 32}, "root");
    MakeBold(MakeLabel(box, names::DatabasePasswordLabel, {11, 90, 64, 32}, "数据库密码:"));
    MakePasswordEdit(box, names::DatabasePassword, {83, 92, 144, 32});
    MakeBold(MakeLabel(box, names::DatabaseNameLabel, {11, 130, 64, 32}, "数据库名称:"));
    MakeEdit(box, names::DatabaseName, {83, 132, 144, 32}, "test");
    // Grown into the gap before its edit box; the caption still needs a narrower setting in most faces.
    MakeBold(MakeLabel(box, names::DatabasePortLabel, {13, 170, 68, 32}, "MYSQL端口:"));
    MakeEdit(box, names::DatabasePort, {83, 172, 48, 32}, "3306");
    MakeBold(MakeButton(box, names::ConnectButton, {163, 170, 64, 32}, "连接"));

    MakeBold(MakeLabel(page, names::WarningLabel, {16, 256, 237, 32}, "高级功能，新手慎用！"));
    MakeListView(page, names::MemberList, {255, 31, 712, 402}, members, MemberColumns());
    MakeBold(MakeLabel(page, names::MemberStatusLabel, {7, 441, 424, 32}, "标签"));
    MakeComboBox(page, names::SchemaCombo, {431, 445, 120, 24}, {{"0.52版数据库", 52}, {"0.60版数据库", 60}});
    MakeBold(MakeLabel(page, names::AccountIdLabel, {563, 440, 87, 32}, "公众号标识："));
    MakeEdit(page, names::AccountId, {650, 441, 80, 32}, "1");
    MakeBold(MakeButton(page, names::ReadButton, {736, 441, 112, 32}, "读取用户信息"));
    MakeBold(MakeButton(page, names::UploadButton, {854, 440, 112, 32}, "导入会员信息"));
}

}  // namespace korvel
