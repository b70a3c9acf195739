#pragma once

#include "platform/ui/Color.hpp"
#include "platform/ui/Rect.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

/// An explicit property animation added to a layer (a basic animation of one key path). The model
/// value is what the owner sets on the layer; the animation is recorded for a renderer and tests.
struct BasicAnimation {
    std::string keyPath;
    std::optional<double> fromValue;
    std::optional<double> toValue;
    double duration = 0.25; // seconds
};

/// A retained layer (as the original platform's layers): geometry in points in the superlayer's
/// space (y up), opacity, hidden, background, border, corner radius, contents scale, sublayers and
/// animations by key. Main thread only.
class Layer : public std::enable_shared_from_this<Layer> {
public:
    virtual ~Layer() = default;

    Rect frame;
    double opacity = 1;
    bool hidden = false;
    std::optional<Color> backgroundColor;
    double borderWidth = 0;
    std::optional<Color> borderColor;
    double cornerRadius = 0;
    std::string cornerCurve = "circular"; // or "continuous"
    bool masksToBounds = false;
    double contentsScale = 1;
    std::string name;

    Rect bounds() const { return {0, 0, frame.width(), frame.height()}; }
    void addSublayer(const std::shared_ptr<Layer>& layer);
    void removeFromSuperlayer();
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return sublayers_; }
    Layer* superlayer() const { return superlayer_; }

    void addAnimation(const BasicAnimation& animation, const std::string& key) {
        animations_[key] = animation;
    }
    void removeAnimation(const std::string& key) { animations_.erase(key); }
    void removeAllAnimations() { animations_.clear(); }
    std::optional<BasicAnimation> animation(const std::string& key) const;
    std::vector<std::string> animationKeys() const;

private:
    std::vector<std::shared_ptr<Layer>> sublayers_;
    Layer* superlayer_ = nullptr;
    std::map<std::string, BasicAnimation> animations_;
};

} // namespace platform::ui
