#pragma once

namespace platform {

/// The system's login-item service for the program (`mainApp`), on the simulated desktop. Status
/// and the outcome of register and unregister are set through the control API. Main thread;
/// logs nothing; calls are journalled.
class SMAppService {
public:
    enum class Status { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

    static SMAppService& mainApp();

    Status status() const;
    /// Registers the program to start at login. Throws `platform::Error` when the desktop is told
    /// to refuse; otherwise the status becomes the configured one (enabled by default).
    void registerService();
    /// Removes the registration. Throws `platform::Error` when the desktop is told to refuse;
    /// otherwise the status becomes not registered.
    void unregister();

private:
    SMAppService() = default;
};

} // namespace platform
