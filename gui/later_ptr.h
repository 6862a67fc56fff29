#pragma once
// Sole ownership of a Qt object that may be inside one of its own events (or filtering one)
// when its owner lets it go: it is handed to Qt's event loop, which deletes it once control
// is back there.
#include <QObject>
#include <memory>

namespace gui {

struct DeleteLater {
    void operator()(QObject* object) const
    {
        if (object)
            object->deleteLater();
    }
};

template <class T> using LaterPtr = std::unique_ptr<T, DeleteLater>;

} // namespace gui
