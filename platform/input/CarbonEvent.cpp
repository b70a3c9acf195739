#include "platform/input/CarbonEvent.hpp"

#include <cstring>

namespace platform {

void CarbonEvent::setParameter(EventParamName name, EventParamType type, const void* data, std::size_t size) {
    Parameter p;
    p.type = type;
    p.bytes.resize(size);
    if (size > 0) std::memcpy(p.bytes.data(), data, size);
    parameters_[name] = std::move(p);
}

const CarbonEvent::Parameter* CarbonEvent::parameter(EventParamName name) const {
    auto it = parameters_.find(name);
    return it == parameters_.end() ? nullptr : &it->second;
}

std::shared_ptr<CarbonEvent> CreateEvent(OSType eventClass, UInt32 kind) {
    return std::make_shared<CarbonEvent>(eventClass, kind);
}

OSType GetEventClass(const EventRef& event) {
    return event ? event->eventClass() : 0;
}

UInt32 GetEventKind(const EventRef& event) {
    return event ? event->kind() : 0;
}

OSStatus GetEventParameter(const EventRef& event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, std::size_t bufferSize, std::size_t* outActualSize,
                           void* outData) {
    if (!event || !outData) return paramErr;
    const auto* p = event->parameter(name);
    if (!p || p->type != desiredType) return eventParameterNotFoundErr;
    if (p->bytes.size() > bufferSize) return paramErr;
    if (!p->bytes.empty()) std::memcpy(outData, p->bytes.data(), p->bytes.size());
    if (outActualType) *outActualType = p->type;
    if (outActualSize) *outActualSize = p->bytes.size();
    return noErr;
}

} // namespace platform
