#pragma once

#include "store/DewbellStore.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <functional>
#include <type_traits>

// The action of one reminder button: calls one store action, and only on the main thread,
// where the store lives. A call from any other thread is refused with a warning, so a stray
// caller can never change the store behind the views' backs.
template<typename... Args>
std::function<void()> storeAction(DewbellStore* store, void (DewbellStore::*action)(Args...),
                                  std::type_identity_t<Args>... args)
{
    QPointer<DewbellStore> guarded(store);
    return [guarded, action, args...] {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
            qWarning("A reminder button's action was refused: it ran outside the main thread");
            return;
        }
        if (guarded)
            (guarded.data()->*action)(args...);
    };
}
