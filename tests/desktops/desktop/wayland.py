"""What the bash Wayland checks (sway-waybar, gnome-wayland, through
cast-session-steps) ask of Python, in one place:

    tests/desktops/wayland-tools focused-title < SWAY-TREE-JSON
    tests/desktops/wayland-tools bar-text climbing FIRST.png SECOND.png
    tests/desktops/wayland-tools bar-text masked FIRST.png SECOND.png LEFT RIGHT
    tests/desktops/wayland-tools bar-text empty FIRST.png LEFT RIGHT
    tests/desktops/wayland-tools focus-thief

focused-title prints the title of the focused window in `swaymsg -t get_tree`.
bar-text reads the custom module's text in the right third of a 1280 x 30
bar: climbing prints the columns "left right" that changed between the two
pictures (the figure), masked holds when the text there is still and in the
masked colour, empty when nothing but the bar is drawn there. focus-thief
opens a plain GTK window, "Focus thief", that takes the focus from ours.
"""

import json
import sys

# The bar's right third, where waybar's modules sit.
BAR_LEFT, BAR_RIGHT, BAR_HEIGHT = 853, 1280, 30
# #ebcb8b, the masked colour of the module's style
MASKED_COLOUR = (0xeb, 0xcb, 0x8b)


def focused_title(tree):
    def walk(node):
        if node.get("focused"):
            return node.get("name") or ""
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            found = walk(child)
            if found is not None:
                return found
        return None

    return walk(tree) or ""


def bar_text(mode, arguments):
    """The exit status (and for climbing the columns printed) of one bar-text question."""
    from PIL import Image, ImageChops

    pictures = [Image.open(name).convert("RGB").crop((BAR_LEFT, 0, BAR_RIGHT, BAR_HEIGHT))
                for name in arguments if name.endswith(".png")]
    if mode == "climbing":
        box = ImageChops.difference(*pictures).convert("L").point(
            lambda v: v > 24 and 255).getbbox()
        print(f"{box[0] + BAR_LEFT} {box[2] + BAR_LEFT}" if box else "")
        return 0 if box else 1
    left, right = (int(number) - BAR_LEFT for number in arguments[-2:])
    # The cents change, the text runs some 60 pixels to their left; the module ends
    # where the tray begins.
    area = (max(0, left - 60), 0, min(BAR_RIGHT - BAR_LEFT, right + 2), BAR_HEIGHT)
    first = pictures[0].crop(area)
    if mode == "masked":
        still = not ImageChops.difference(first, pictures[1].crop(area)).convert("L").point(
            lambda v: v > 24 and 255).getbbox()
        coloured = sum(1 for pixel in first.getdata()
                       if all(abs(value - masked) < 40
                              for value, masked in zip(pixel, MASKED_COLOUR)))
        return 0 if still and coloured > 10 else 1
    if mode == "empty":
        levels = first.convert("L").getextrema()
        return 0 if levels[1] - levels[0] < 40 else 1
    return 2


def focus_thief():
    import gi
    gi.require_version("Gtk", "3.0")
    from gi.repository import Gtk

    window = Gtk.Window(title="Focus thief")
    window.set_default_size(300, 200)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


def main():
    command, *arguments = sys.argv[1:] or [""]
    if command == "focused-title":
        print(focused_title(json.load(sys.stdin)))
    elif command == "bar-text" and arguments:
        sys.exit(bar_text(arguments[0], arguments[1:]))
    elif command == "focus-thief":
        focus_thief()
    else:
        sys.exit(__doc__)
