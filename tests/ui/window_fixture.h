#pragma once
// A shown, active Form1 with an exporter of the test's own, and every message box captured.

#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/fault.h"
#include "office/office.h"
#include "ui/form1.h"
#include "ui/messagebox.h"

namespace wallcalc::ui::testing {

// Records what it is given; can fail with a fault, or hold until released.
class FakeExporter final : public ReportExporter {
public:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        std::vector<std::string> received;
        std::optional<Fault> failWith;
        bool hold = false;
        bool entered = false;
        bool cancelled = false;
    };

    explicit FakeExporter(std::shared_ptr<State> state) : state_(std::move(state)) {}

    void exportReport(const std::string& reportUtf8) override {
        std::unique_lock lock(state_->mutex);
        state_->entered = true;
        state_->changed.notify_all();
        state_->changed.wait(lock, [&] { return !state_->hold; });
        if (state_->cancelled) throw FaultError(Fault{18, "出现用户中断", "已取消计算书保存"});
        if (state_->failWith) throw FaultError(*state_->failWith);
        state_->received.push_back(reportUtf8);
    }

    void cancel() override {
        {
            std::lock_guard lock(state_->mutex);
            state_->cancelled = true;
            state_->hold = false;
        }
        state_->changed.notify_all();
    }

private:
    std::shared_ptr<State> state_;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = MessageBox::setInterceptor([this](const MessageBox::Shown& box) { boxes.push_back(box); });
        form = std::make_unique<Form1>(std::make_unique<FakeExporter>(exporter));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        form.reset();
        MessageBox::setInterceptor(previous_);
    }

    void press(const char* button) {
        auto* widget = form->findChild<QPushButton*>(QString::fromUtf8(button));
        ASSERT_NE(widget, nullptr) << button;
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    std::shared_ptr<FakeExporter::State> exporter = std::make_shared<FakeExporter::State>();
    std::unique_ptr<Form1> form;
    std::vector<MessageBox::Shown> boxes;

private:
    MessageBox::Interceptor previous_;
};

}  // namespace wallcalc::ui::testing
