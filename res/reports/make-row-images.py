#!/usr/bin/env python3
# Draws the reports list's two alternating row images at 16 and 32 pixels (run here).
import struct, zlib

def png(path, w, h, rgba):
    raw = b''.join(b'\x00' + bytes(rgba[y*w*4:(y+1)*w*4]) for y in range(h))
    def chunk(t, d):
        c = struct.pack('>I', len(d)) + t + d
        return c + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
    data += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(data)

# A sheet of paper with a folded corner and three ruled lines; the accent colour
# (tab on the left edge and the lines) tells the two alternating images apart.
def sheet(x, y, accent):
    # coordinates in a 0..1 square
    left, right, top, bottom, fold = 0.16, 0.84, 0.06, 0.94, 0.22
    paper = (255, 255, 255, 255)
    edge = (90, 90, 100, 255)
    if not (left <= x <= right and top <= y <= bottom):
        return None
    if x - (right - fold) > y - top:          # cut-off corner
        return None
    e = 0.045
    on_fold_edge = abs((x - (right - fold)) - (y - top)) < e * 1.2
    if on_fold_edge or x < left + e or x > right - e or y < top + e or y > bottom - e:
        return edge
    if x > right - fold and y < top + fold and (x - (right - fold)) < (y - top) + 0.0:
        return (215, 215, 225, 255)
    if x < left + 0.16:
        return accent
    for ly in (0.40, 0.58, 0.76):
        if abs(y - ly) < 0.045 and left + 0.24 < x < right - 0.12:
            return accent
    if abs(y - 0.22) < 0.045 and left + 0.24 < x < right - fold - 0.04:
        return accent
    return paper

def render(size, accent, ss=8):
    out = []
    for py in range(size):
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    c = sheet((px + (sx + 0.5) / ss) / size, (py + (sy + 0.5) / ss) / size, accent)
                    if c:
                        a = c[3]
                        acc[0] += c[0] * a; acc[1] += c[1] * a; acc[2] += c[2] * a; acc[3] += a
            n = ss * ss
            if acc[3]:
                out += [acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], acc[3] // n]
            else:
                out += [0, 0, 0, 0]
    return out

for name, accent in (('row0', (40, 100, 200, 255)), ('row1', (40, 150, 80, 255))):
    for size in (16, 32):
        png(f'{name}_{size}.png', size, size, render(size, accent))
