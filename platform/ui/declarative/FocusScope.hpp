#pragma once

#include "platform/ui/declarative/Node.hpp"

#include <optional>
#include <string>
#include <vector>

namespace platform::ui::declarative {

/// The keyboard focus inside a declarative host: which text field element has the keys (by tree
/// key), the one about to take them while the window asks the host to become first responder,
/// and the fields of a tree in their key-view order. The host owns one; it stays first
/// responder of its window for the focused field. Main thread.
class FocusScope {
public:
    /// The tree key of the field that has the keys; none when no field of the host has them.
    const std::optional<std::string>& focused() const { return focused_; }
    /// Whether a field has the keys or is about to take them (the host accepts first responder).
    bool wantsKeys() const { return pending_.has_value() || focused_.has_value(); }

    /// Marks `key` as about to take the keys (while the window is asked), then ends that: with
    /// `taken` the field has the keys.
    void beginTaking(const std::string& key) { pending_ = key; }
    void endTaking(bool taken);
    /// Moves the keys to `key` while the host stays first responder.
    void moveTo(const std::string& key) { focused_ = key; }
    /// No field has the keys.
    void clear() { focused_.reset(); }

    /// The enabled text field elements of `tree` in document order.
    static std::vector<Node*> fields(const Element& tree);
    /// The focused field among `tree`'s enabled fields (null when it left the tree or is off).
    Node* focusedNode(const Element& tree) const;
    /// The field after (`forward`) or before `field` among `fields`; null past either end.
    static Node* neighbour(const std::vector<Node*>& fields, const Node* field, bool forward);

private:
    std::optional<std::string> focused_;
    std::optional<std::string> pending_;
};

} // namespace platform::ui::declarative
