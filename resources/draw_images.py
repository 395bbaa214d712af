#!/usr/bin/env python3
"""Draws the reader's icons and bitmaps into a folder: python3 draw_images.py OUTDIR.

Every picture is drawn on a 16-unit grid from signed-distance shapes, so one
drawing serves each size an icon carries. Icons are 32-bit with alpha and a
mask; bitmaps are 24-bit. The build runs this script; Images.rc names the files.
"""

import math
import os
import struct
import sys

# --- colours and shapes ------------------------------------------------------


def rgb(text, alpha=255):
    return (int(text[1:3], 16), int(text[3:5], 16), int(text[5:7], 16), alpha)


def box(x0, y0, x1, y1, radius=0.0):
    def distance(x, y):
        dx = max(x0 + radius - x, x - x1 + radius)
        dy = max(y0 + radius - y, y - y1 + radius)
        outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
        return outside + min(max(dx, dy), 0.0) - radius
    return distance, (x0, y0, x1, y1)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, r, width):
    return (lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2), \
        (cx - r - width, cy - r - width, cx + r + width, cy + r + width)


def ellipse_ring(cx, cy, rx, ry, width):
    # Distance along the normal of a thin ellipse, good enough for hairlines.
    def distance(x, y):
        nx, ny = (x - cx) / rx, (y - cy) / ry
        length = math.hypot(nx, ny)
        if length == 0:
            return min(rx, ry)
        gradient = math.hypot(nx / rx, ny / ry) / length
        return abs(length - 1.0) / gradient - width / 2
    return distance, (cx - rx - width, cy - ry - width, cx + rx + width, cy + ry + width)


def segment(x0, y0, x1, y1, width):
    def distance(x, y):
        vx, vy = x1 - x0, y1 - y0
        t = ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)
        t = min(max(t, 0.0), 1.0)
        return math.hypot(x - x0 - t * vx, y - y0 - t * vy) - width / 2
    return distance, (min(x0, x1) - width, min(y0, y1) - width, max(x0, x1) + width, max(y0, y1) + width)


def polygon(points):
    def distance(x, y):
        best = float("inf")
        inside = False
        count = len(points)
        for i in range(count):
            ax, ay = points[i]
            bx, by = points[(i + 1) % count]
            ex, ey = bx - ax, by - ay
            t = min(max(((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey), 0.0), 1.0)
            best = min(best, math.hypot(x - ax - t * ex, y - ay - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (ey or 1e-12):
                inside = not inside
        return -best if inside else best
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return distance, (min(xs), min(ys), max(xs), max(ys))


def arc(cx, cy, r, width, start, end):
    """A stroke along the circle from angle start to end (degrees, clockwise on screen)."""
    def distance(x, y):
        angle = math.degrees(math.atan2(y - cy, x - cx))
        if (angle - start) % 360.0 <= (end - start) % 360.0:
            return abs(math.hypot(x - cx, y - cy) - r) - width / 2
        ends = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))) for a in (start, end)]
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width / 2
    return distance, (cx - r - width, cy - r - width, cx + r + width, cy + r + width)


def inset(shape, amount):
    distance, bounds = shape
    return (lambda x, y: distance(x, y) + amount), bounds


def rotated(shape, cx, cy, degrees):
    distance, _ = shape
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def turned(x, y):
        dx, dy = x - cx, y - cy
        return distance(cx + c * dx + s * dy, cy - s * dx + c * dy)
    return turned, (0, 0, 16, 16)


# --- canvas --------------------------------------------------------------------


class Canvas:
    """Straight-alpha RGBA pixels; shapes are given on a 16-unit grid."""

    def __init__(self, width, height=None, grid=16.0):
        self.width = width
        self.height = height or width
        self.scale = width / grid
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.width * self.height)]

    def px(self, count):
        """A length of whole pixels, in grid units."""
        return count / self.scale

    def fill(self, shape, colour):
        distance, (bx0, by0, bx1, by1) = shape
        s = self.scale
        i0, i1 = max(int(math.floor(bx0 * s)) - 1, 0), min(int(math.ceil(bx1 * s)) + 1, self.width)
        j0, j1 = max(int(math.floor(by0 * s)) - 1, 0), min(int(math.ceil(by1 * s)) + 1, self.height)
        r, g, b, a = (c / 255.0 for c in colour)
        for j in range(j0, j1):
            y = (j + 0.5) / s
            for i in range(i0, i1):
                coverage = min(max(0.5 - distance((i + 0.5) / s, y) * s, 0.0), 1.0)
                if coverage > 0.0:
                    self.blend(i, j, r, g, b, a * coverage)

    def blend(self, i, j, r, g, b, a):
        pixel = self.pixels[j * self.width + i]
        below = pixel[3] * (1.0 - a)
        total = a + below
        if total <= 0.0:
            return
        pixel[0] = (r * a + pixel[0] * below) / total
        pixel[1] = (g * a + pixel[1] * below) / total
        pixel[2] = (b * a + pixel[2] * below) / total
        pixel[3] = total

    def outlined(self, shape, border, inside, width=1):
        self.fill(shape, border)
        self.fill(inset(shape, self.px(width)), inside)

    def bytes_bgra(self):
        """Rows bottom-up, as a device-independent bitmap keeps them."""
        out = bytearray()
        for j in reversed(range(self.height)):
            for i in range(self.width):
                r, g, b, a = self.pixels[j * self.width + i]
                alpha = int(round(a * 255))
                if alpha == 0:
                    out += b"\0\0\0\0"
                else:
                    out += bytes((int(round(b * 255)), int(round(g * 255)), int(round(r * 255)), alpha))
        return bytes(out)


# --- the 3 x 5 letters of the document badges -----------------------------------

LETTERS = {
    "A": (".#.", "#.#", "###", "#.#", "#.#"), "B": ("##.", "#.#", "##.", "#.#", "##."),
    "C": (".##", "#..", "#..", "#..", ".##"), "D": ("##.", "#.#", "#.#", "#.#", "##."),
    "F": ("###", "#..", "##.", "#..", "#.."), "G": (".##", "#..", "#.#", "#.#", ".##"),
    "H": ("#.#", "#.#", "###", "#.#", "#.#"), "J": ("..#", "..#", "..#", "#.#", ".#."),
    "L": ("#..", "#..", "#..", "#..", "###"), "M": ("#.#", "###", "###", "#.#", "#.#"),
    "N": ("##.", "#.#", "#.#", "#.#", "#.#"), "P": ("##.", "#.#", "##.", "#..", "#.."),
    "Q": (".#.", "#.#", "#.#", "##.", ".##"), "R": ("##.", "#.#", "##.", "#.#", "#.#"),
    "S": (".##", "#..", ".#.", "..#", "##."), "T": ("###", ".#.", ".#.", ".#.", ".#."),
    "V": ("#.#", "#.#", "#.#", "#.#", ".#."), "W": ("#.#", "#.#", "###", "###", "#.#"),
    "X": ("#.#", "#.#", ".#.", "#.#", "#.#"), "Y": ("#.#", "#.#", ".#.", ".#.", ".#."),
    "Z": ("###", "..#", ".#.", "#..", "###"), "O": (".#.", "#.#", "#.#", "#.#", ".#."),
    "I": ("###", ".#.", ".#.", ".#.", "###"),
}


def draw_text(canvas, text, x, y, colour):
    for index, letter in enumerate(text):
        for row, pattern in enumerate(LETTERS[letter]):
            for column in range(3):
                if pattern[column] == "#":
                    left = x + index * 4 + column
                    canvas.fill(box(left, y + row, left + 1, y + row + 1), colour)


# --- document icons ---------------------------------------------------------------

PAGE_BORDER = rgb("#7D838C")
PAGE = rgb("#FFFFFF")
FLAP = rgb("#E4E7EB")
WHITE = rgb("#FFFFFF")


def page(canvas):
    canvas.outlined(polygon([(2, 0), (11, 0), (14, 3), (14, 16), (2, 16)]), PAGE_BORDER, PAGE)
    canvas.outlined(polygon([(11, 0), (11, 3), (14, 3)]), PAGE_BORDER, FLAP)


def badge(canvas, label, colour, text_colour=WHITE):
    width = len(label) * 4 - 1
    if width > 14:
        canvas.fill(box(0, 9, 16, 16, 0.5), colour)
        draw_text(canvas, label, 0, 10, text_colour)
    else:
        canvas.fill(box(1, 9, 15, 16, 0.5), colour)
        draw_text(canvas, label, 1 + (14 - width) // 2, 10, text_colour)


# Small pictures above a badge; each takes the badge's colour, which some ignore.
def glyph_lines(canvas, _colour):
    for x0, y, x1 in ((4, 2, 10), (4, 4, 12), (4, 6, 12)):
        canvas.fill(box(x0, y, x1, y + 1), rgb("#9AA3AE"))


def glyph_code(canvas, colour):
    for x0, y, x1 in ((4, 2, 8), (6, 4, 12), (6, 6, 10)):
        canvas.fill(box(x0, y, x1, y + 1), colour)


def glyph_picture(canvas, _colour):
    canvas.fill(box(4, 3.5, 12, 8.5), rgb("#8CCBF2"))
    canvas.fill(polygon([(4, 8.5), (6.8, 5.6), (8.6, 7.2), (10.2, 5.8), (12, 7.6), (12, 8.5)]), rgb("#3E9E4A"))
    canvas.fill(circle(5.7, 5.1, 0.95), rgb("#FFC12E"))


def globe(canvas, cx, cy, r):
    canvas.fill(circle(cx, cy, r), rgb("#2F7FD0"))
    line = canvas.px(1)
    canvas.fill(ellipse_ring(cx, cy, r * 0.45, r, line), rgb("#FFFFFF", 190))
    canvas.fill(box(cx - r, cy - line / 2, cx + r, cy + line / 2), rgb("#FFFFFF", 190))


def glyph_globe(canvas, _colour):
    globe(canvas, 8.0, 5.0, 3.5)


def glyph_grid(canvas, colour):
    line = canvas.px(1)
    canvas.fill(box(4, 3, 13, 9), colour)
    canvas.fill(box(4 + line, 3 + line, 13 - line, 9 - line), WHITE)
    canvas.fill(box(8, 3, 8 + line, 9), colour)
    canvas.fill(box(4, 6, 13, 6 + line), colour)


def glyph_chart(canvas, _colour):
    canvas.fill(box(4, 6, 6, 9), rgb("#F0A35E"))
    canvas.fill(box(7, 3, 9, 9), rgb("#D24726"))
    canvas.fill(box(10, 5, 12, 9), rgb("#E87B3C"))


def glyph_zipper(canvas, _colour):
    for y in range(0, 9, 2):
        canvas.fill(box(7, y, 8, y + 1), rgb("#5A5F66"))
        canvas.fill(box(8, y + 1, 9, y + 2), rgb("#5A5F66"))


def document_icon(label, colour, glyph, text_colour=WHITE):
    def draw(canvas):
        page(canvas)
        glyph(canvas, colour)
        badge(canvas, label, colour, text_colour)
    return draw


def plain_document(canvas):
    page(canvas)
    for x0, y, x1 in ((4, 3, 10), (4, 5, 12), (4, 7, 12), (4, 9, 12), (4, 11, 12), (4, 13, 9)):
        canvas.fill(box(x0, y, x1, y + 1), rgb("#4C7CC0"))


def mail(canvas):
    canvas.outlined(box(1, 3, 15, 13), rgb("#6B7A8C"), rgb("#FFFFFF"))
    canvas.fill(polygon([(1.6, 3.6), (14.4, 3.6), (8, 9)]), rgb("#DCE6F2"))
    line = canvas.px(1)
    canvas.fill(segment(1.5, 3.5, 8, 9, line), rgb("#6B7A8C"))
    canvas.fill(segment(14.5, 3.5, 8, 9, line), rgb("#6B7A8C"))


def note(canvas):
    canvas.fill(polygon([(2, 1), (14, 1), (14, 11), (10, 15), (2, 15)]), rgb("#B8962E"))
    canvas.fill(inset(polygon([(2, 1), (14, 1), (14, 11), (10, 15), (2, 15)]), canvas.px(1)), rgb("#FFE27A"))
    canvas.fill(polygon([(10, 15), (10, 11), (14, 11)]), rgb("#E9C44E"))
    canvas.fill(box(2, 1, 14, 3), rgb("#F2B705"))
    for y in (5, 7, 9):
        canvas.fill(box(4, y, 12 if y < 9 else 9, y + 1), rgb("#A88A2A"))


def web_shortcut(canvas):
    globe(canvas, 8, 8, 6.5)
    canvas.outlined(box(8, 9, 15, 16, 1), rgb("#5A5F66"), WHITE)
    canvas.fill(segment(10, 14, 13, 11, canvas.px(1.5)), rgb("#1E6FC2"))
    canvas.fill(polygon([(10.6, 10.6), (13.4, 10.6), (13.4, 13.4)]), rgb("#1E6FC2"))


DOCUMENTS = {
    "doc_asp": document_icon("ASP", rgb("#5C2D91"), glyph_code),
    "doc_aspx": document_icon("ASPX", rgb("#68217A"), glyph_code),
    "doc_bmp": document_icon("BMP", rgb("#0F7B8A"), glyph_picture),
    "doc_cpp": document_icon("CPP", rgb("#00599C"), glyph_code),
    "doc_css": document_icon("CSS", rgb("#264DE4"), glyph_code),
    "doc_doc": document_icon("DOC", rgb("#2B579A"), glyph_lines),
    "doc_document": plain_document,
    "doc_docx": document_icon("DOCX", rgb("#2B579A"), glyph_lines),
    "doc_h": document_icon("H", rgb("#7A4DB3"), glyph_code),
    "doc_htm": document_icon("HTM", rgb("#E44D26"), glyph_globe),
    "doc_html": document_icon("HTML", rgb("#E44D26"), glyph_globe),
    "doc_jpg": document_icon("JPG", rgb("#C9731C"), glyph_picture),
    "doc_js": document_icon("JS", rgb("#F0DB4F"), glyph_code, rgb("#323330")),
    "doc_mail": mail,
    "doc_mht": document_icon("MHT", rgb("#A33F22"), glyph_globe),
    "doc_note": note,
    "doc_pdf": document_icon("PDF", rgb("#D93025"), glyph_lines),
    "doc_pds": document_icon("PDS", rgb("#5F6B7A"), glyph_lines),
    "doc_perl": document_icon("PL", rgb("#39457E"), glyph_code),
    "doc_php": document_icon("PHP", rgb("#777BB3"), glyph_code),
    "doc_png": document_icon("PNG", rgb("#2E8B57"), glyph_picture),
    "doc_ppt": document_icon("PPT", rgb("#D24726"), glyph_chart),
    "doc_pptx": document_icon("PPTX", rgb("#D24726"), glyph_chart),
    "doc_py": document_icon("PY", rgb("#3776AB"), glyph_code, rgb("#FFD43B")),
    "doc_rtf": document_icon("RTF", rgb("#4A6FA5"), glyph_lines),
    "doc_sql": document_icon("SQL", rgb("#C77C02"), glyph_code),
    "doc_text": document_icon("TXT", rgb("#6B7280"), glyph_lines),
    "doc_txr": document_icon("TXR", rgb("#4B7F6B"), glyph_lines),
    "doc_url": web_shortcut,
    "doc_vb": document_icon("VB", rgb("#1E4E8C"), glyph_code),
    "doc_wps": document_icon("WPS", rgb("#3F51B5"), glyph_lines),
    "doc_xls": document_icon("XLS", rgb("#217346"), glyph_grid),
    "doc_xlsx": document_icon("XLSX", rgb("#217346"), glyph_grid),
    "doc_xps": document_icon("XPS", rgb("#00838F"), glyph_lines),
    "doc_zip": document_icon("ZIP", rgb("#8D6E2F"), glyph_zipper),
}

# --- other icons --------------------------------------------------------------------

TEAL = rgb("#1F7A8C")


def app(canvas):
    canvas.fill(polygon([(0.5, 3.5), (8, 5), (15.5, 3.5), (15.5, 14), (8, 15.5), (0.5, 14)]), TEAL)
    left = [(1.5, 2), (8, 3.6), (8, 14), (1.5, 12.4)]
    right = [(8, 3.6), (14.5, 2), (14.5, 12.4), (8, 14)]
    for sheet in (left, right):
        canvas.outlined(polygon(sheet), rgb("#5B6B73"), rgb("#FDFBF5"), 0.75)
    line = canvas.px(1) if canvas.scale < 2 else 0.45
    for k in range(4):
        y = 5.4 + 2 * k
        canvas.fill(segment(3, y - 0.35, 6.8, y + 0.55, line), rgb("#9FB3BA"))
        canvas.fill(segment(9.2, y + 0.55, 13, y - 0.35, line), rgb("#9FB3BA"))
    canvas.fill(box(7.75, 3.8, 8.25, 14), rgb("#5B6B73"))


def step_running(canvas):
    canvas.fill(circle(8, 8, 7), rgb("#2D7DD2"))
    canvas.fill(polygon([(6, 4.5), (11.5, 8), (6, 11.5)]), WHITE)


def step_done(canvas):
    canvas.fill(circle(8, 8, 7), rgb("#2E9E44"))
    canvas.fill(segment(4.5, 8.2, 7, 10.8, 2), WHITE)
    canvas.fill(segment(7, 10.8, 11.6, 5.4, 2), WHITE)


def cross(canvas, colour, cx=8.0, cy=8.0, r=7.0, arm=2.8, width=2.0):
    canvas.fill(circle(cx, cy, r), colour)
    canvas.fill(segment(cx - arm, cy - arm, cx + arm, cy + arm, width), WHITE)
    canvas.fill(segment(cx - arm, cy + arm, cx + arm, cy - arm, width), WHITE)


def step_failed(canvas):
    cross(canvas, rgb("#D64541"))


def magnifier(canvas, frame, lens):
    canvas.fill(segment(10, 10, 14.2, 14.2, 2.6), frame)
    canvas.fill(circle(6.5, 6.5, 4.6), lens)
    canvas.fill(ring(6.5, 6.5, 4.6, 1.6), frame)


def zoom(canvas):
    magnifier(canvas, rgb("#4A5561"), rgb("#D8ECFB"))
    canvas.fill(box(4.3, 6, 8.7, 7), rgb("#1E6FC2"))
    canvas.fill(box(6, 4.3, 7, 8.7), rgb("#1E6FC2"))


def search(canvas):
    magnifier(canvas, rgb("#6B7480"), rgb("#FFFFFF", 0))


def clear_search(canvas):
    cross(canvas, rgb("#9AA0A6"), r=6.5, arm=2.5, width=1.6)


def sync_arrows(canvas, turn, colour):
    """Two arrows chasing each other round a circle; the picture repeats every 180 degrees."""
    r, width = 5.2, 2.0
    for half in (0, 180):
        start = turn + half + 20
        end = start + 130
        canvas.fill(arc(8, 8, r, width, start, end), colour)
        a = math.radians(end)
        tip = (8 + r * math.cos(a + 0.5), 8 + r * math.sin(a + 0.5))
        outer = (8 + (r + 2.4) * math.cos(a), 8 + (r + 2.4) * math.sin(a))
        inner = (8 + (r - 2.4) * math.cos(a), 8 + (r - 2.4) * math.sin(a))
        canvas.fill(polygon([outer, tip, inner]), colour)


def sync(canvas):
    sync_arrows(canvas, 0, rgb("#2E9E44"))


def sync_frame(turn):
    return lambda canvas: sync_arrows(canvas, turn, rgb("#2D7DD2"))


def book(canvas):
    canvas.outlined(box(4, 2, 14, 15.5, 0.5), rgb("#8A8F98"), WHITE)
    canvas.outlined(box(2, 0.5, 12.5, 14.5, 0.8), rgb("#1F3F7A"), rgb("#3566B8"))
    canvas.fill(box(3.5, 1.5, 4.5, 13.5), rgb("#2A4F94"))
    canvas.fill(box(6, 4, 11, 6.5), rgb("#E8EEF8"))


def folder_shape(canvas, back, front, border):
    canvas.outlined(polygon([(1, 2.5), (6, 2.5), (7.5, 4), (15, 4), (15, 13.5), (1, 13.5)]), border, back)
    canvas.outlined(box(1, 5.5, 15, 13.5), border, front)


def folder(canvas):
    folder_shape(canvas, rgb("#E9B730"), rgb("#F8D360"), rgb("#B08510"))


def virtual_folder(canvas):
    folder_shape(canvas, rgb("#6FA3DC"), rgb("#A9CBF0"), rgb("#3C6FA8"))
    canvas.outlined(circle(11, 11, 4), rgb("#3C6FA8"), WHITE)
    line = max(canvas.px(1), 0.9)
    canvas.fill(segment(11, 11, 11, 8.6, line), rgb("#1F3F7A"))
    canvas.fill(segment(11, 11, 12.8, 11.8, line), rgb("#1F3F7A"))


def attachment(canvas):
    width, colour = 1.3, rgb("#56677A")
    parts = [
        segment(5, 4, 5, 11, width), arc(7.5, 11, 2.5, width, 0, 180), segment(10, 11, 10, 3.5, width),
        arc(8.5, 3.5, 1.5, width, 180, 360), segment(7, 3.5, 7, 10.5, width),
    ]
    for part in parts:
        canvas.fill(rotated(part, 8, 8, 35), colour)


def search_history(canvas):
    canvas.outlined(circle(7, 7, 5.8), rgb("#6B7480"), WHITE, 1.2)
    line = max(canvas.px(1), 0.9)
    canvas.fill(segment(7, 7, 7, 3.6, line), rgb("#4A5561"))
    canvas.fill(segment(7, 7, 9.6, 8.4, line), rgb("#4A5561"))
    canvas.fill(polygon([(10.5, 12), (15.5, 12), (13, 15)]), rgb("#4A5561"))


# Name -> (drawing, sizes). Images.rc gives each file its resource id.
ICONS = {
    "app": (app, (16, 32, 48)),
    "step_running": (step_running, (16, 32)),
    "step_done": (step_done, (16, 32)),
    "step_failed": (step_failed, (16, 32)),
    "zoom": (zoom, (16, 32)),
    "sync": (sync, (16, 32)),
    "sync_frame_1": (sync_frame(0), (32, 64)),
    "sync_frame_2": (sync_frame(45), (32, 64)),
    "sync_frame_3": (sync_frame(90), (32, 64)),
    "sync_frame_4": (sync_frame(135), (32, 64)),
    "book": (book, (16, 32)),
    "folder": (folder, (16, 32)),
    "virtual_folder": (virtual_folder, (16, 32)),
    "attachment": (attachment, (16, 32)),
    "search": (search, (16, 32)),
    "clear_search": (clear_search, (16, 32)),
    "search_history": (search_history, (16, 32)),
}
ICONS.update({name: (draw, (16, 32)) for name, draw in DOCUMENTS.items()})

# --- bitmaps ------------------------------------------------------------------------------

# The tool bar's button face: the common controls map this grey to the face colour.
BUTTON_FACE = rgb("#C0C0C0")


def view_windows(canvas):
    canvas.fill(box(0, 0, 16, 15), BUTTON_FACE)
    for x0, y0 in ((1, 1), (5, 4)):
        canvas.outlined(box(x0, y0, x0 + 10, y0 + 6), rgb("#3C5A80"), WHITE)
        canvas.fill(box(x0, y0, x0 + 10, y0 + 2), rgb("#3C6FA8"))
    for k in range(3):
        canvas.fill(box(7 + k, 12 + k, 12 - k, 13 + k), rgb("#202020"))


def about_banner(canvas):
    """A light band, wider than the box, so the box shows its left part at any size; the
    title is drawn over the plain left end."""
    top, bottom = (1.0, 1.0, 1.0), (221 / 255.0, 236 / 255.0, 242 / 255.0)
    for j in range(canvas.height):
        t = j / (canvas.height - 1)
        colour = [a + (b - a) * t for a, b in zip(top, bottom)] + [1.0]
        for i in range(canvas.width):
            canvas.pixels[j * canvas.width + i] = list(colour)
    for k in range(5):
        x = 300 + 9 * k
        canvas.fill(polygon([(x, 58), (x + 34, 10), (x + 38, 10), (x + 4, 58)]), TEAL[:3] + (24 + 10 * k,))
    canvas.fill(box(0, 61, canvas.width, 64), TEAL)


BITMAPS = {
    "tab_toolbar": (view_windows, 16, 15, 16.0),
    "about_banner": (about_banner, 640, 64, 640.0),
}

# --- files ----------------------------------------------------------------------------------


def icon_file(drawing, sizes):
    images = []
    for size in sizes:
        canvas = Canvas(size)
        drawing(canvas)
        colour = canvas.bytes_bgra()
        mask_row = ((size + 31) // 32) * 4
        mask = bytearray()
        for j in reversed(range(size)):
            row = bytearray(mask_row)
            for i in range(size):
                if canvas.pixels[j * size + i][3] * 255 < 0.5:
                    row[i // 8] |= 0x80 >> (i % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
        images.append((size, header + colour + bytes(mask)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def bitmap_file(drawing, width, height, grid):
    canvas = Canvas(width, height, grid)
    drawing(canvas)
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for j in reversed(range(height)):
        row = bytearray()
        for i in range(width):
            r, g, b, a = canvas.pixels[j * width + i]
            row += bytes(int(round(c * a * 255 + 255 * (1 - a))) for c in (b, g, r))
        rows += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info)) + info + bytes(rows)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw_images.py OUTDIR")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, (drawing, sizes) in ICONS.items():
        write(os.path.join(folder, name + ".ico"), icon_file(drawing, sizes))
    for name, (drawing, width, height, grid) in BITMAPS.items():
        write(os.path.join(folder, name + ".bmp"), bitmap_file(drawing, width, height, grid))
    # The build waits for this file, written last.
    write(os.path.join(folder, "images.stamp"), b"")


if __name__ == "__main__":
    main()
