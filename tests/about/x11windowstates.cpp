#include "x11windowstates.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>

QStringList x11WindowStates(QWidget *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11->connection();
    auto atom = [connection](const char *name) {
        xcb_intern_atom_reply_t *reply
            = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t result = reply->atom;
        std::free(reply);
        return result;
    };
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, xcb_window_t(window->winId()), atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
        nullptr);
    QStringList names;
    const auto *states = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
    for (int i = 0; i < xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t)); ++i) {
        xcb_get_atom_name_reply_t *name
            = xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, states[i]), nullptr);
        names.append(QString::fromLatin1(xcb_get_atom_name_name(name), xcb_get_atom_name_name_length(name)));
        std::free(name);
    }
    std::free(reply);
    return names;
}
