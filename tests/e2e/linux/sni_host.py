#!/usr/bin/python3
"""A StatusNotifierWatcher with a host, as a panel would run it, on the session bus given by
DBUS_SESSION_BUS_ADDRESS; and the calls a panel makes on a registered item.

  sni_host.py watch LOG            own org.kde.StatusNotifierWatcher; every registration is a
                                   line "registered SERVICE PATH" in LOG
  sni_host.py tip SERVICE PATH     the item's tool tip title and text
  sni_host.py menu SERVICE PATH    AboutToShow, then one line "ID LABEL" per menu entry
  sni_host.py activate SERVICE PATH
  sni_host.py click SERVICE PATH ID   the "clicked" event of a menu entry
"""
import sys

import dbus
import dbus.service

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"


class Watcher(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.log = log
        self.items = []

    @dbus.service.method(WATCHER, in_signature="s", out_signature="", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # Items give either their bus name or, on a shared connection, only their path.
        name, path = (sender, service) if service.startswith("/") else (service, "/StatusNotifierItem")
        self.items.append(f"{name}{path}")
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(f"registered {name} {path}\n")
        self.StatusNotifierItemRegistered(f"{name}{path}")

    @dbus.service.method(WATCHER, in_signature="s", out_signature="")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    # Qt reads the properties through an interface proxy built from the introspection data, so
    # they must be declared there too; python-dbus declares only methods and signals.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, in_signature="", out_signature="s",
                         path_keyword="object_path", connection_keyword="connection")
    def Introspect(self, object_path, connection):
        xml = super().Introspect(object_path, connection)
        properties = (
            '<property name="RegisteredStatusNotifierItems" type="as" access="read"/>'
            '<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>'
            '<property name="ProtocolVersion" type="i" access="read"/>'
        )
        return xml.replace(f'<interface name="{WATCHER}">', f'<interface name="{WATCHER}">{properties}', 1)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(0),
        }


def watch(log):
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(WATCHER, bus)
    watcher = Watcher(bus, log)
    with open(log, "a", encoding="utf-8") as out:
        out.write("watching\n")
    GLib.MainLoop().run()
    del name, watcher


def item(service, path):
    return dbus.SessionBus().get_object(service, path)


def menu_of(service, path):
    obj = item(service, path)
    menu_path = obj.Get(ITEM, "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
    return dbus.SessionBus().get_object(service, menu_path)


def entries(layout):
    ident, props, children = layout
    if "label" in props:
        yield int(ident), str(props["label"])
    for child in children:
        yield from entries(child)


def main(argv):
    if len(argv) == 3 and argv[1] == "watch":
        watch(argv[2])
    elif len(argv) == 4 and argv[1] == "tip":
        tip = item(argv[2], argv[3]).Get(ITEM, "ToolTip", dbus_interface=dbus.PROPERTIES_IFACE)
        print(f"{tip[2]}|{tip[3]}")
    elif len(argv) == 4 and argv[1] == "menu":
        menu = menu_of(argv[2], argv[3])
        menu.AboutToShow(0, dbus_interface=MENU)
        _, layout = menu.GetLayout(0, -1, dbus.Array([], signature="s"), dbus_interface=MENU)
        for ident, label in entries(layout):
            print(ident, label)
    elif len(argv) == 4 and argv[1] == "activate":
        item(argv[2], argv[3]).Activate(0, 0, dbus_interface=ITEM)
    elif len(argv) == 5 and argv[1] == "click":
        menu = menu_of(argv[2], argv[3])
        menu.Event(int(argv[4]), "clicked", dbus.String("", variant_level=1), dbus.UInt32(0), dbus_interface=MENU)
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
