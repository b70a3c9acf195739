#include "UiTestFixture.hpp"

#include "platform/ui/Application.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/Window.hpp"

using namespace platform::ui;

namespace {

class KeyViewTest : public UiTest {};

/// Counts its delegate messages.
struct EditLog : TextFieldDelegate {
    std::vector<std::string> events;
    void controlTextDidBeginEditing(TextField&) override { events.push_back("begin"); }
    void controlTextDidEndEditing(TextField&) override { events.push_back("end"); }
};

/// A text field that may refuse to be the window's first key view.
class GuardedField : public TextField {
public:
    bool keyView = true;
    bool canBecomeKeyView() const override { return keyView; }
};

TEST_F(KeyViewTest, AWindowBecomingKeyTheFirstTimeChoosesItsFirstKeyView) {
    struct Case {
        const char* what;
        bool firstRefuses;
        bool labelFirst;
        bool setInitial; // the second field as initial first responder
        int chosen;      // 0 none, 1 the first field, 2 the second
    };
    const Case cases[] = {
        {"first field", false, false, false, 1},
        {"labels are skipped", false, true, false, 1},
        {"a field that refuses is skipped", true, false, false, 2},
        {"the initial first responder wins", false, false, true, 2},
    };
    for (const auto& c : cases) {
        auto w = std::make_shared<Window>(Rect{100, 100, 300, 200}, StyleMask::titled);
        if (c.labelFirst) w->contentView()->addSubview(TextField::labelWithString("Name"));
        auto first = std::make_shared<GuardedField>();
        auto second = std::make_shared<GuardedField>();
        first->keyView = !c.firstRefuses;
        w->contentView()->addSubview(first);
        w->contentView()->addSubview(second);
        if (c.setInitial) w->initialFirstResponder = second;
        w->makeKeyAndOrderFront();
        Responder* expected = w.get();
        if (c.chosen == 1) expected = first.get();
        if (c.chosen == 2) expected = second.get();
        EXPECT_EQ(w->firstResponder(), expected) << c.what;

        // Only the first time: a later return to key status keeps what the user chose.
        w->makeFirstResponder(nullptr);
        auto other = std::make_shared<Window>(Rect{500, 100, 100, 100}, StyleMask::titled);
        other->makeKeyAndOrderFront();
        w->makeKeyAndOrderFront();
        EXPECT_EQ(w->firstResponder(), w.get()) << c.what;
        other->close();
        w->close();
    }
}

TEST_F(KeyViewTest, MakingAnEditingFieldFirstResponderAgainRestartsItsEditing) {
    EditLog log; // outlives the field, which tells it of the end of editing when it goes
    auto w = std::make_shared<Window>(Rect{100, 100, 300, 200}, StyleMask::titled);
    auto field = TextField::textFieldWithString("x");
    field->delegate = &log;
    w->contentView()->addSubview(field);
    ASSERT_TRUE(w->makeFirstResponder(field.get()));
    EXPECT_EQ(log.events, std::vector<std::string>{"begin"});
    ASSERT_TRUE(w->makeFirstResponder(field.get()));
    EXPECT_EQ(log.events, (std::vector<std::string>{"begin", "end", "begin"}));
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(w->firstResponder(), field.get());
    w->close();
}

TEST_F(KeyViewTest, WindowPointsConvertIntoNestedViews) {
    auto outer = std::make_shared<View>(Rect{10, 20, 200, 100});
    auto inner = std::make_shared<View>(Rect{5, 7, 50, 50});
    outer->addSubview(inner);
    auto w = std::make_shared<Window>(Rect{100, 100, 300, 200}, StyleMask::titled);
    w->contentView()->addSubview(outer);
    EXPECT_EQ(inner->convertPointFromWindow({15, 27}), (Point{0, 0}));
    EXPECT_EQ(inner->convertPointFromWindow({0, 0}), (Point{-15, -27}));
    EXPECT_EQ(outer->convertPointFromWindow({15, 27}), (Point{5, 7}));
    w->close();
}

} // namespace
