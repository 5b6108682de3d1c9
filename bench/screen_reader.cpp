#include "bench/screen_reader.h"

#include <dlfcn.h>

#include <QAccessible>

namespace bench {
namespace {

long eventsSeen = 0;
long charactersRead = 0;

void OnAccessibilityEvent(QAccessibleEvent* event) {
    ++eventsSeen;
    QAccessibleInterface* iface = event->accessibleInterface();
    if (!iface)
        return;
    QAccessibleTextInterface* text = iface->textInterface();
    if (!text)
        return;
    int start = 0;
    int end = 0;
    switch (event->type()) {
        case QAccessible::TextCaretMoved: {
            const int caret = static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
            charactersRead +=
                text->textAtOffset(caret, QAccessible::LineBoundary, &start, &end).size();
            break;
        }
        case QAccessible::TextInserted:
            charactersRead +=
                static_cast<QAccessibleTextInsertEvent*>(event)->textInserted().size();
            break;
        default:
            break;
    }
}

}  // namespace

bool SwitchOnAccessibility() {
    // The flag belongs to the platform integration's accessibility object; these are the
    // exported (private) entry points of Qt 6 that reach it.
    using Integration = void*;
    using AccessibilityOf = void* (*)(const void*);
    using SetActive = void (*)(void*, bool);
    auto* integration = static_cast<Integration*>(
        dlsym(RTLD_DEFAULT, "_ZN22QGuiApplicationPrivate20platform_integrationE"));
    auto accessibilityOf = reinterpret_cast<AccessibilityOf>(
        dlsym(RTLD_DEFAULT, "_ZNK20QPlatformIntegration13accessibilityEv"));
    auto setActive =
        reinterpret_cast<SetActive>(dlsym(RTLD_DEFAULT, "_ZN22QPlatformAccessibility9setActiveEb"));
    if (!integration || !*integration || !accessibilityOf || !setActive)
        return false;
    if (void* accessibility = accessibilityOf(*integration))
        setActive(accessibility, true);
    return QAccessible::isActive();
}

void ListenLikeAScreenReader() {
    QAccessible::installUpdateHandler(OnAccessibilityEvent);
}

long AccessibilityEventsSeen() {
    return eventsSeen;
}

long CharactersReadBack() {
    return charactersRead;
}

}  // namespace bench
