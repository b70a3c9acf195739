#include "platform/ui/Layer.hpp"

#include <algorithm>

namespace platform::ui {

void Layer::addSublayer(const std::shared_ptr<Layer>& layer) {
    if (!layer || layer.get() == this) return;
    layer->removeFromSuperlayer();
    layer->superlayer_ = this;
    sublayers_.push_back(layer);
}

void Layer::removeFromSuperlayer() {
    if (!superlayer_) return;
    auto& list = superlayer_->sublayers_;
    auto self = this;
    superlayer_ = nullptr;
    list.erase(std::remove_if(list.begin(), list.end(), [self](const auto& l) { return l.get() == self; }),
               list.end());
}

std::optional<BasicAnimation> Layer::animation(const std::string& key) const {
    auto it = animations_.find(key);
    if (it == animations_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> Layer::animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& [k, v] : animations_)
        keys.push_back(k);
    return keys;
}

} // namespace platform::ui
