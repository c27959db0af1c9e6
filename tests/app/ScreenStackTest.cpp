#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/screens/Screen.h"

namespace {

// A screen that writes its entering and leaving into a shared journal.
class TJournalScreen : public IScreen {
  public:
    TJournalScreen(std::string name, std::vector<std::string>& journal)
        : name_(std::move(name)), journal_(journal) {}
    void Enter() override { journal_.push_back("enter " + name_); }
    void Leave() override { journal_.push_back("leave " + name_); }
    bool HandleEvent(const TEvent&) override { return false; }
    void Update(uint32_t) override {}
    void Draw() override {}

  private:
    std::string name_;
    std::vector<std::string>& journal_;
};

}  // namespace

TEST(ScreenStackTest, ScreensEnterAndLeaveInStackOrder) {
    std::vector<std::string> journal;
    TJournalScreen title("title", journal), play("play", journal), help("help", journal);
    TScreenStack stack;
    EXPECT_EQ(stack.Top(), nullptr);
    stack.Pop();  // nothing to leave

    stack.Push(title);
    stack.Replace(play);
    stack.Replace(play);  // already on top: neither leaves nor enters again
    stack.Push(help);
    EXPECT_EQ(stack.Top(), &help);
    stack.Pop();
    EXPECT_EQ(stack.Top(), &play);
    stack.Push(help);
    stack.Clear();
    EXPECT_EQ(stack.Top(), nullptr);
    stack.Replace(title);  // on an empty stack it pushes
    EXPECT_EQ(stack.Top(), &title);

    EXPECT_EQ(journal, (std::vector<std::string>{"enter title", "leave title", "enter play",
                                                 "enter help", "leave help", "enter help",
                                                 "leave help", "leave play", "enter title"}));
}
