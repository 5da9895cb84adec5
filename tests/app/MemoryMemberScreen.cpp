#include "MemoryMemberScreen.h"

#include <chrono>

#include "app/GbkCodec.h"
#include "app/MemberTexts.h"

namespace korvel::test {

MemoryMemberScreen::MemoryMemberScreen()
{
    fields = {{MemberField::Host, "127.0.0.1"}, {MemberField::User, "root"},
              {MemberField::Password, ""},      {MemberField::Database, "test"},
              {MemberField::Port, "3306"},      {MemberField::AccountId, "1"},
              {MemberField::BackendUser, ""},   {MemberField::BackendPassword, ""}};
    status = "\xb1\xea\xc7\xa9";  // 标签
    controls[MemberControl::ReadButton].caption = Utf8ToGbk(member_text::ReadButtonIdle);
    controls[MemberControl::UploadButton].caption = Utf8ToGbk(member_text::UploadButtonIdle);
    controls[MemberControl::SchemaCombo];
    controls[MemberControl::ConnectionGroup];
    controls[MemberControl::WarningLabel];
}

void MemoryMemberScreen::onWindow(const std::function<void()>& action)
{
    std::lock_guard lock(turn_);
    action();
    changed_.notify_all();
}

bool MemoryMemberScreen::waitFor(const std::function<bool()>& condition, int seconds)
{
    std::unique_lock lock(turn_);
    return changed_.wait_for(lock, std::chrono::seconds(seconds), condition);
}

void MemoryMemberScreen::post(std::function<void()> work)
{
    std::lock_guard lock(turn_);
    if (closing) {
        return;
    }
    work();
    changed_.notify_all();
}

std::string MemoryMemberScreen::fieldText(MemberField field)
{
    return fields[field];
}

void MemoryMemberScreen::setStatus(const std::string& caption)
{
    status = caption;
    statusHistory.push_back(caption);
}

void MemoryMemberScreen::setCaption(MemberControl control, const std::string& caption)
{
    controls[control].caption = caption;
}

std::vector<MemberBatch> MemoryMemberScreen::members()
{
    return {std::make_shared<const std::vector<MemberRecord>>(rows)};
}

void MemoryMemberScreen::appendMembers(const MemberBatch& added)
{
    rows.insert(rows.end(), added->begin(), added->end());
    ++appendCalls;
    if (afterAppend) {
        afterAppend();
    }
}

void MemoryMemberScreen::showMessage(const std::string& message, const std::string& title, MessageIcon icon)
{
    messages.push_back({message, title, icon});
}

}  // namespace korvel::test
