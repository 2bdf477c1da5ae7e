"""Heuristics on screenshots: what changed between two pictures of the
screen, and where, as a user would tell by looking."""

from PIL import Image, ImageChops

from .x11 import HEIGHT, WIDTH


def changed_box(before, after, within=None, threshold=24, leaving_out=None):
    """The box around the pixels that differ, within a box if given."""
    difference = ImageChops.difference(before, after).convert("L")
    if within or leaving_out:
        mask = Image.new("L", difference.size, 255 if not within else 0)
        if within:
            mask.paste(255, within)
        if leaving_out:
            mask.paste(0, leaving_out)
        difference = ImageChops.multiply(difference, mask)
    return difference.point(lambda value: 255 if value > threshold else 0).getbbox()


def column_runs(before, after, box, gap=12):
    """Runs of changed columns inside box, as (left, right) pairs."""
    difference = ImageChops.difference(before.crop(box), after.crop(box)).convert("L")
    difference = difference.point(lambda value: 255 if value > 24 else 0)
    width, height = difference.size
    pixels = difference.load()
    columns = [x for x in range(width) if any(pixels[x, y] for y in range(height))]
    runs = []
    for x in columns:
        if runs and x - runs[-1][1] <= gap:
            runs[-1][1] = x
        else:
            runs.append([x, x])
    return [(box[0] + left, box[0] + right + 1) for left, right in runs]


def new_runs(before, after, box, gap=12):
    """Runs of changed columns, leaving out parts that only moved a pixel or
    two sideways: the neighbours a panel nudges aside for a new item."""
    parts = [part for part in column_runs(before, after, box, gap=4)
             if not only_moved(before, after, (part[0], box[1], part[1], box[3]))]
    runs = []
    for left, right in parts:
        if runs and left - runs[-1][1] <= gap:
            runs[-1] = (runs[-1][0], right)
        else:
            runs.append((left, right))
    return runs


def only_moved(before, after, box, reach=3):
    """Whether what a box shows now was there before, a few pixels to one side."""
    now = after.crop(box)
    for shift in range(-reach, reach + 1):
        if shift == 0 or box[0] + shift < 0 or box[2] + shift > before.width:
            continue
        earlier = before.crop((box[0] + shift, box[1], box[2] + shift, box[3]))
        difference = ImageChops.difference(earlier, now).convert("L")
        if difference.point(lambda value: 255 if value > 48 else 0).histogram()[255] <= 2:
            return True
    return False


def changed_share(before, after, within, leaving_out=None):
    """The share of the pixels within a box that differ."""
    difference = ImageChops.difference(before.crop(within), after.crop(within)).convert("L")
    difference = difference.point(lambda value: 255 if value > 24 else 0)
    if leaving_out:
        left, top = within[0], within[1]
        difference.paste(0, (leaving_out[0] - left, leaving_out[1] - top,
                             leaving_out[2] - left, leaving_out[3] - top))
    return difference.histogram()[255] / (difference.width * difference.height)


def part_nearest(before, after, box, x):
    """Of what changed side by side (a menu, a tooltip, a window that lost the focus),
    the part nearest to a place across: the menu under the item."""
    parts = [changed_box(before, after, (left, box[1], right, box[3]))
             for left, right in column_runs(before, after, box, gap=4)]
    # A menu holds three rows at least; a tooltip is lower than that.
    parts = [part for part in parts if part and part[3] - part[1] > 55] or parts
    return min(parts, key=lambda part: 0 if part[0] <= x <= part[2]
               else min(abs(part[0] - x), abs(part[2] - x)))


def grow(box, margin, limit=(0, 0, WIDTH, HEIGHT)):
    return (max(limit[0], box[0] - margin), max(limit[1], box[1] - margin),
            min(limit[2], box[2] + margin), min(limit[3], box[3] + margin))


def union(first, second):
    if not first:
        return second
    if not second:
        return first
    return (min(first[0], second[0]), min(first[1], second[1]),
            max(first[2], second[2]), max(first[3], second[3]))


def text_rows(image, box):
    """Rows of text inside a drawn menu, top to bottom, as (top, bottom, left, right)."""
    region = image.crop(box).convert("L")
    width, height = region.size
    pixels = region.load()
    background = max(set(region.getdata()), key=list(region.getdata()).count)
    # Columns inked nearly all the way down are edges (of the menu, of a tooltip
    # beside it), not text.
    columns = [x for x in range(4, width - 4)
               if sum(abs(pixels[x, y] - background) > 60 for y in range(height)) < 0.5 * height]
    rows = []
    filled_since = None
    for y in range(height + 1):
        ink = [x for x in columns if abs(pixels[x, y] - background) > 60] if y < height else []
        # Lines inked most of the way across are a separator (thin) or the row
        # under the pointer, drawn in a colour of its own (as tall as a row).
        if len(ink) >= 0.5 * (width - 8):
            filled_since = y if filled_since is None else filled_since
            continue
        if filled_since is not None:
            if y - filled_since >= 8:
                rows.append([filled_since, y - 1, columns[0], columns[-1]])
            filled_since = None
        if ink:
            if rows and y - rows[-1][1] <= 2:
                rows[-1][1] = y
                rows[-1][2] = min(rows[-1][2], ink[0])
                rows[-1][3] = max(rows[-1][3], ink[-1])
            else:
                rows.append([y, y, ink[0], ink[-1]])
    return [(box[1] + top, box[1] + bottom, box[0] + left, box[0] + right)
            for top, bottom, left, right in rows if bottom - top >= 4]


def inside(box, outer):
    return (box[0] >= outer[0] and box[1] >= outer[1] and box[2] <= outer[2]
            and box[3] <= outer[3])
