#include "app/WindowCollectionScreen.h"
#include "app/ControlNames.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <atomic>
#include <thread>

#include "app/ControlText.h"
#include "app/GbkCodec.h"
#include "app/GbkTableModel.h"
#include "app/MainWindow.h"

namespace korvel {
namespace {

constexpr int kLabelIntervalMs = 50;

}  // namespace

WindowCollectionScreen::WindowCollectionScreen(MainWindow& window)
    : window_(window),
      startButton_(window.control<QPushButton>(names::StartButton)),
      totalLabel_(window.control<QLabel>(names::TotalLabel)),
      pageCountLabel_(window.control<QLabel>(names::PageCountLabel)),
      totalLabelUpdate_(kLabelIntervalMs, [this] { totalLabel_->setText(FromGbk(totalCaption_)); })
{
}

WindowCollectionScreen::~WindowCollectionScreen()
{
    present();
}

std::string WindowCollectionScreen::fieldText(const char* name) const
{
    return ControlText(window_.control(name));
}

std::string WindowCollectionScreen::shopAddress()
{
    return fieldText(names::ShopAddress);
}

std::string WindowCollectionScreen::itemAreaStart()
{
    return fieldText(names::ItemAreaStart);
}

std::string WindowCollectionScreen::itemAreaEnd()
{
    return fieldText(names::ItemAreaEnd);
}

std::string WindowCollectionScreen::tmallQueryStart()
{
    return fieldText(names::TmallQueryStart);
}

std::string WindowCollectionScreen::tmallQueryEnd()
{
    return fieldText(names::TmallQueryEnd);
}

void WindowCollectionScreen::setStartButton(const std::string& caption, bool enabled)
{
    SetControlText(startButton_, caption);
    startButton_->setEnabled(enabled);
}

void WindowCollectionScreen::setTotalLabel(const std::string& caption)
{
    totalCaption_ = caption;
    totalLabelUpdate_.poke();
}

void WindowCollectionScreen::setPageCountLabel(const std::string& caption)
{
    SetControlText(pageCountLabel_, caption);
}

void WindowCollectionScreen::clearRows()
{
    window_.productList().clear();
}

void WindowCollectionScreen::appendRow()
{
    window_.productList().appendRow();
}

void WindowCollectionScreen::setCell(int row, int column, const std::string& text)
{
    window_.productList().setCell(row, column, text);
}

bool WindowCollectionScreen::processEvents()
{
    if (window_.closing()) {
        return false;
    }
    QCoreApplication::processEvents();
    return !window_.closing();
}

void WindowCollectionScreen::showMessage(const std::string& message, const std::string& title)
{
    present();
    window_.showMessage(message, title);
}

bool WindowCollectionScreen::await(const std::function<void()>& work)
{
    if (window_.closing())
        return false;
    present();
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread requests([&] {
        work();
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop ends early only when the application is quitting: the requests end at once then.
    if (!done)
        cancellation().cancel();
    requests.join();
    return !window_.closing() && !cancellation().cancelled();
}

void WindowCollectionScreen::present()
{
    totalLabelUpdate_.flush();
    window_.productList().flush();
}

}  // namespace korvel
