#include "print/queuestatus.h"

#include <dlfcn.h>

namespace tolvaro {
namespace {

// Status codes of the Internet Printing Protocol, as the CUPS library reports them.
constexpr int kFirstError = 0x0400;
constexpr int kForbidden = 0x0401;
constexpr int kNotAuthenticated = 0x0402;
constexpr int kNotAuthorized = 0x0403;
constexpr int kNotFound = 0x0406;
constexpr int kGone = 0x0407;
constexpr int kInternal = 0x0500;
constexpr int kServiceUnavailable = 0x0503;
constexpr int kNotAcceptingJobs = 0x0506;

}  // namespace

// The CUPS library keeps the answer to the last request of this thread. It is asked in the copy
// that Qt's print support loaded, not linked to the program: without a print queue it need not be
// there, and the program must not load it at start-up.
QString LastJobRefusal() {
    void* cups = ::dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!cups) return {};
    const auto lastError = reinterpret_cast<int (*)()>(::dlsym(cups, "cupsLastError"));
    const auto lastErrorText = reinterpret_cast<const char* (*)()>(::dlsym(cups, "cupsLastErrorString"));
    const int status = lastError ? lastError() : 0;
    const QString detail = lastErrorText && lastErrorText() ? QString::fromLocal8Bit(lastErrorText()) : QString();
    ::dlclose(cups);
    switch (status) {
        case kNotAcceptingJobs: return QStringLiteral("de printer neemt geen opdrachten aan");
        case kInternal:
        case kServiceUnavailable: return QStringLiteral("de printservice is niet bereikbaar");
        case kNotFound:
        case kGone: return QStringLiteral("de printer bestaat niet meer");
        case kForbidden:
        case kNotAuthenticated:
        case kNotAuthorized: return QStringLiteral("u mag niet op deze printer printen");
        default:
            if (status < kFirstError) return {};
            return detail.isEmpty() ? QStringLiteral("de printservice weigert de opdracht")
                                    : QStringLiteral("de printservice weigert de opdracht (%1)").arg(detail);
    }
}

}  // namespace tolvaro
