#pragma once

#include "platform/ui/Button.hpp"
#include "platform/ui/Panel.hpp"

#include <functional>

namespace platform::ui {

enum class AlertStyle { warning = 0, informational = 1, critical = 2 };

/// A modal alert: message and informative texts, style, icon, buttons (responses 1000, 1001, ...
/// in the order they were added; the first answers Return, a button titled "Cancel" answers
/// Escape), and an optional accessory view. `runModal` blocks in an application-modal session;
/// `beginSheetModal` attaches it to a window and calls the handler with the response later on the
/// main queue. On the simulated desktop the simulator's scripted responder answers every alert,
/// and every alert shown is logged there. Main thread only.
class Alert : public Responder {
public:
    Alert();

    std::string messageText;
    std::string informativeText;
    AlertStyle alertStyle = AlertStyle::warning;
    /// Null shows no icon.
    std::shared_ptr<Image> icon;
    std::shared_ptr<View> accessoryView;

    /// Adds a button with the title; its tag is its response.
    std::shared_ptr<Button> addButton(const std::string& title);
    const std::vector<std::shared_ptr<Button>>& buttons() const { return buttons_; }
    /// The panel that shows the alert (made on first use).
    const std::shared_ptr<Panel>& window();

    /// Shows the alert application-modally; returns the pressed button's response (an alert with no
    /// buttons gets an "OK" button first).
    long runModal();
    /// Shows the alert as a sheet on `parent`; `completion` gets the response. The simulator's
    /// scripted user answers it on a later main-queue turn, or at once when the parent is run
    /// modally meanwhile (a modal run inside a main-queue block, which holds the main queue).
    void beginSheetModal(Window& parent, std::function<void(long)> completion);

private:
    friend class UISimulator;
    friend class UiScript;
    void prepare();
    /// Answers a sheet that is still up (the scripted user's answer), takes it off its parent and
    /// calls its completion; nothing when it was answered already.
    void answerSheet();
    std::vector<std::shared_ptr<Button>> buttons_;
    std::shared_ptr<Panel> window_;
    std::optional<long> response_;
    struct Sheet {
        std::weak_ptr<Responder> parent;
        Window* parentWindow = nullptr;
        std::function<void(long)> completion;
    };
    std::optional<Sheet> sheet_;
};

} // namespace platform::ui
