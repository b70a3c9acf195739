#include "platform/ui/declarative/FocusScope.hpp"

#include <algorithm>
#include <functional>

namespace platform::ui::declarative {

void FocusScope::endTaking(bool taken) {
    const auto key = std::move(pending_);
    pending_.reset();
    if (taken && key) focused_ = *key;
}

std::vector<Node*> FocusScope::fields(const Element& tree) {
    std::vector<Node*> fields;
    std::function<void(const Element&)> walk = [&](const Element& e) {
        Node& n = *e.node();
        for (const auto& c : n.backgrounds)
            walk(c);
        if (n.kind == NodeKind::textField && n.resolvedEnabled) fields.push_back(&n);
        for (const auto& c : n.children)
            walk(c);
        for (const auto& c : n.overlays)
            walk(c);
    };
    walk(tree);
    return fields;
}

Node* FocusScope::focusedNode(const Element& tree) const {
    if (!focused_) return nullptr;
    for (Node* field : fields(tree))
        if (field->key == *focused_) return field;
    return nullptr;
}

Node* FocusScope::neighbour(const std::vector<Node*>& fields, const Node* field, bool forward) {
    const auto at = std::find(fields.begin(), fields.end(), field);
    const std::size_t i = static_cast<std::size_t>(at - fields.begin());
    if (forward ? i + 1 < fields.size() : (i > 0 && at != fields.end())) return fields[forward ? i + 1 : i - 1];
    return nullptr;
}

} // namespace platform::ui::declarative
