"""Real screen casts, opened the way a browser or a video-call program opens
them (mutter's own interface, or the portal's), and a PipeWire reader that
notes its first frame: for tests/desktops/cast-check."""

import json
import subprocess
import threading
import time

import dbus
import gi

gi.require_version("Gst", "1.0")
from gi.repository import Gst  # noqa: E402


def pipewire_objects():
    dump = subprocess.run(["pw-dump"], capture_output=True, text=True, check=True).stdout
    return json.loads(dump)


def node_id(name):
    for entry in pipewire_objects():
        if entry["type"].endswith("Node") and entry["info"]["props"].get("node.name") == name:
            return entry["id"]
    return None


def ports(objects, node, direction):
    return sorted(entry["id"] for entry in objects
                  if entry["type"].endswith("Port") and entry["info"]["direction"] == direction
                  and int(entry["info"]["props"].get("node.id", -1)) == node)


class Reader:
    """A PipeWire stream consumer that notes when its first frame arrives.

    It links itself to the cast's node: WirePlumber 0.4.13 does not link a
    stream to mutter's cast node here ("target not found"), although it is
    told the target, so the reader makes the link a session manager would."""

    counter = 0

    def __init__(self, node, fd=None):
        Reader.counter += 1
        self.name = "tallyglow-cast-reader-%d" % Reader.counter
        self.node = node
        self.first_frame = None
        self.linked = None
        self.pipeline = Gst.Pipeline.new("reader")
        source = Gst.ElementFactory.make("pipewiresrc")
        if fd is not None:
            source.set_property("fd", fd)
        source.set_property("client-name", self.name)
        source.set_property("stream-properties", Gst.Structure.new_from_string(
            "props,node.autoconnect=false,node.name=%s" % self.name))
        sink = Gst.ElementFactory.make("fakesink")
        sink.set_property("signal-handoffs", True)
        sink.set_property("sync", False)
        sink.connect("handoff", self.on_frame)
        self.pipeline.add(source)
        self.pipeline.add(sink)
        source.link(sink)

    def on_frame(self, sink, buffer, pad):
        if self.first_frame is None:
            self.first_frame = time.time()

    def start(self, session):
        # pipewiresrc waits for its link while it starts, so it starts aside.
        threading.Thread(target=self.pipeline.set_state, args=(Gst.State.PLAYING,),
                         daemon=True).start()
        session.run_until(lambda: node_id(self.name) is not None, 10)
        reader = node_id(self.name)
        if reader is None:
            return
        objects = pipewire_objects()
        for output, input_port in zip(ports(objects, self.node, "output"),
                                      ports(objects, reader, "input")):
            subprocess.run(["pw-link", str(output), str(input_port)], capture_output=True)
        self.linked = time.time()

    def stop(self):
        self.pipeline.set_state(Gst.State.NULL)

    def error(self):
        message = self.pipeline.get_bus().pop_filtered(Gst.MessageType.ERROR)
        return message.parse_error()[1] if message else "no error reported"


class MutterCast:
    def __init__(self, session):
        self.session = session
        bus = session.bus
        screen_cast = bus.get_object("org.gnome.Mutter.ScreenCast", "/org/gnome/Mutter/ScreenCast")
        path = screen_cast.CreateSession({}, dbus_interface="org.gnome.Mutter.ScreenCast")
        self.cast_session = bus.get_object("org.gnome.Mutter.ScreenCast", path)
        stream_path = self.cast_session.RecordMonitor(
            "", {}, dbus_interface="org.gnome.Mutter.ScreenCast.Session")
        self.node = None
        self.fd = None
        self.receiver = bus.add_signal_receiver(
            self.on_stream_added, signal_name="PipeWireStreamAdded",
            dbus_interface="org.gnome.Mutter.ScreenCast.Stream", path=stream_path)

    def on_stream_added(self, node):
        self.node = int(node)

    def start(self):
        self.cast_session.Start(dbus_interface="org.gnome.Mutter.ScreenCast.Session")
        if not self.session.run_until(lambda: self.node is not None, 10):
            raise SystemExit("cast-check: mutter announced no PipeWire stream")

    def stop(self):
        self.receiver.remove()
        try:
            self.cast_session.Stop(dbus_interface="org.gnome.Mutter.ScreenCast.Session")
        except dbus.DBusException:
            pass  # already gone with its stream


class PortalCast:
    """A cast through xdg-desktop-portal, as a sandboxed browser opens one."""

    counter = 0

    def __init__(self, session):
        self.session = session
        bus = session.bus
        self.portal = bus.get_object("org.freedesktop.portal.Desktop",
                                     "/org/freedesktop/portal/desktop")
        self.sender = bus.get_unique_name()[1:].replace(".", "_")
        self.node = None
        self.fd = None
        token = self.next_token()
        results = self.request(
            lambda options: self.portal.CreateSession(
                options, dbus_interface="org.freedesktop.portal.ScreenCast"),
            {"session_handle_token": token})
        self.handle = str(results["session_handle"])
        self.request(lambda options: self.portal.SelectSources(
            self.handle, options, dbus_interface="org.freedesktop.portal.ScreenCast"),
            {"types": dbus.UInt32(1), "multiple": False})

    def next_token(self):
        PortalCast.counter += 1
        return "tallyglow%d" % PortalCast.counter

    def request(self, call, options):
        token = self.next_token()
        options = dict(options, handle_token=token)
        path = "/org/freedesktop/portal/desktop/request/%s/%s" % (self.sender, token)
        answer = {}

        def on_response(response, results):
            answer["response"] = int(response)
            answer["results"] = results

        receiver = self.session.bus.add_signal_receiver(
            on_response, signal_name="Response", dbus_interface="org.freedesktop.portal.Request",
            path=path)
        call(options)
        self.session.run_until(lambda: "response" in answer, 20)
        receiver.remove()
        if answer.get("response") != 0:
            raise SystemExit("cast-check: the portal refused the cast (response %s)"
                             % answer.get("response"))
        return answer["results"]

    def start(self):
        results = self.request(lambda options: self.portal.Start(
            self.handle, "", options, dbus_interface="org.freedesktop.portal.ScreenCast"), {})
        self.node = int(results["streams"][0][0])
        fd = self.portal.OpenPipeWireRemote(self.handle, {},
                                            dbus_interface="org.freedesktop.portal.ScreenCast")
        self.fd = fd.take()

    def stop(self):
        session = self.session.bus.get_object("org.freedesktop.portal.Desktop", self.handle)
        try:
            session.Close(dbus_interface="org.freedesktop.portal.Session")
        except dbus.DBusException:
            pass
