#!/usr/bin/env python3
"""A stand-in for xdg-desktop-portal on a private session bus, for the tests of the portal
clients. It owns org.freedesktop.portal.Desktop and answers the Screenshot and GlobalShortcuts
interfaces the way the scenario given on the command line asks:

  portal_double.py --screenshot answer|late|never|refuse [--picture FILE] [--late-ms N]
                   [--shortcuts grant|refuse|never|none] [--activate ID] [--log FILE]

With --shortcuts none the GlobalShortcuts interface is not offered (its version is unknown).

Every call it receives is written to the log, one line each, so that a test can check what the
client asked for. It runs until it is killed."""

import argparse
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

BUS_NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"


def request_path(sender, token):
    return "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)


class Request(dbus.service.Object):
    def __init__(self, bus, path, portal):
        super().__init__(bus, path)
        self.portal = portal
        self.closed = False

    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass

    @dbus.service.method(REQUEST, in_signature="", out_signature="")
    def Close(self):
        self.closed = True
        self.portal.log("Close")


class Session(dbus.service.Object):
    @dbus.service.method(SESSION, in_signature="", out_signature="")
    def Close(self):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus, options):
        super().__init__(bus, PATH)
        self.bus = bus
        self.options = options
        self.objects = []
        self.bound = []
        self.log_file = open(options.log, "a", buffering=1) if options.log else None

    def log(self, line):
        if self.log_file:
            self.log_file.write(line + "\n")

    def _request(self, sender, options):
        token = str(options.get("handle_token", "t%d" % len(self.objects)))
        request = Request(self.bus, request_path(sender, token), self)
        self.objects.append(request)
        return request

    def _answer(self, request, response, results, delay_ms):
        def send():
            if not request.closed:
                request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
            return False

        GLib.timeout_add(delay_ms, send)

    # --- Screenshot -----------------------------------------------------------------------
    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def Screenshot(self, parent_window, options, sender=None):
        self.log("Screenshot interactive=%s" % bool(options.get("interactive", True)))
        request = self._request(sender, options)
        mode = self.options.screenshot
        uri = "file://" + (self.options.picture or "")
        if mode == "answer":
            self._answer(request, 0, {"uri": uri}, 0)
        elif mode == "late":
            self._answer(request, 0, {"uri": uri}, self.options.late_ms)
        elif mode == "refuse":
            self._answer(request, 2, {}, 0)
        return request

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == "org.freedesktop.portal.GlobalShortcuts" and self.options.shortcuts == "none":
            raise dbus.exceptions.DBusException("No such interface", name="org.freedesktop.DBus.Error.InvalidArgs")
        return dbus.UInt32(1)

    # --- GlobalShortcuts ------------------------------------------------------------------
    @dbus.service.method("org.freedesktop.portal.GlobalShortcuts", in_signature="a{sv}", out_signature="o",
                         sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        self.log("CreateSession")
        request = self._request(sender, options)
        token = str(options.get("session_handle_token", "s"))
        path = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        self.objects.append(Session(self.bus, path))
        if self.options.shortcuts == "refuse":
            self._answer(request, 2, {}, 0)
        elif self.options.shortcuts != "never":
            self._answer(request, 0, {"session_handle": dbus.String(path)}, 0)
        return request

    @dbus.service.method("org.freedesktop.portal.GlobalShortcuts", in_signature="oa(sa{sv})sa{sv}",
                         out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender=None):
        described = []
        granted = []
        for shortcut_id, properties in shortcuts:
            trigger = str(properties.get("preferred_trigger", ""))
            described.append("%s=%s" % (shortcut_id, trigger))
            granted.append(dbus.Struct((shortcut_id, dbus.Dictionary(
                {"description": properties.get("description", ""),
                 "trigger_description": dbus.String(trigger)}, signature="sv")), signature="sa{sv}"))
        self.log("BindShortcuts " + " ".join(described))
        request = self._request(sender, options)
        if self.options.shortcuts == "refuse":
            self._answer(request, 2, {}, 0)
        else:
            self._answer(request, 0, {"shortcuts": dbus.Array(granted, signature="(sa{sv})")}, 0)
            if self.options.activate:
                GLib.timeout_add(100, self._activate, session, self.options.activate)
        return request

    def _activate(self, session, shortcut_id):
        self.log("Activated %s" % shortcut_id)
        self.Activated(session, shortcut_id, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))
        self.Deactivated(session, shortcut_id, dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))
        return False

    @dbus.service.signal("org.freedesktop.portal.GlobalShortcuts", signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass

    @dbus.service.signal("org.freedesktop.portal.GlobalShortcuts", signature="osta{sv}")
    def Deactivated(self, session, shortcut_id, timestamp, options):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--screenshot", default="answer", choices=["answer", "late", "never", "refuse"])
    parser.add_argument("--picture")
    parser.add_argument("--late-ms", type=int, default=500)
    parser.add_argument("--shortcuts", default="grant", choices=["grant", "refuse", "never", "none"])
    parser.add_argument("--activate")
    parser.add_argument("--log")
    options = parser.parse_args()
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    Portal(bus, options)
    # The name last: a client that sees it finds every object in place.
    name = dbus.service.BusName(BUS_NAME, bus)
    print("ready", flush=True)
    GLib.MainLoop().run()
    del name


if __name__ == "__main__":
    sys.exit(main())
