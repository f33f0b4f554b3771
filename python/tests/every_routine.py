"""Every public routine of the library at least once, in two sessions (PNG and PostScript),
through the package's one-to-one routines: the twin of every_routine.c, call for call.
Run in the folder that is to receive the files."""

import numpy as np

import stylus


def points(n):
    i = np.arange(n)
    x = i.astype(np.float32) / np.float32(64)
    y = np.float32(-32) + ((i * 37) % 97).astype(np.float32) / np.float32(10)
    return x, y


def draw(out, device, file):
    x, y = points(200)
    xs, ys = [0.0, 1.5, 3.0], [-32.5, -28.0, -23.0]
    stylus.setpag("DA4L")
    stylus.metafl(device)
    stylus.setfil(file)
    stylus.disini()
    out.write(f"file at start [{stylus.getfil()}]\n")
    stylus.msgmod("OFF")
    stylus.color("PINK")
    stylus.msgmod("ON")
    stylus.resall()
    stylus.setvlt("SPEC")
    stylus.setclr(30)
    stylus.color("RED")
    stylus.color("PINK")
    stylus.linwid(3)
    stylus.lintyp(2)
    stylus.myline([10, 5, 2, 5], 4)
    stylus.lnmlt(2.5)
    for style in (stylus.solid, stylus.dash, stylus.dashm, stylus.dashl, stylus.dotl,
                  stylus.chndot, stylus.chndsh, stylus.solid):
        style()
    stylus.height(40)
    stylus.angle(15)
    stylus.messag("Hello", 100, 100)
    stylus.angle(0)
    stylus.messag("Off the page", 2900, 50)
    out.write(f"nlmess {stylus.nlmess('Hello')}\n")
    stylus.disalf()
    stylus.hname(45)
    stylus.labdig(2, "X")
    stylus.labdig(-1, "Y")
    stylus.name("Separation (A)", "X")
    stylus.name("Energy (eV)", "Y")
    stylus.graf(0, 3, 0, 0.5, -32.5, -23, -32.5, 1)
    g = lambda v: f"{np.float32(v).item():.9g}"  # noqa: E731 - as C prints a float
    out.write(f"xposn {g(stylus.xposn(1.5))} yposn {g(stylus.yposn(-30))} "
              f"nxposn {stylus.nxposn(1.5)} nyposn {stylus.nyposn(-30)}\n")
    stylus.trfrel(xs, ys, 3)
    out.write(f"trfrel {' '.join(map(g, xs))} / {' '.join(map(g, ys))}\n")
    ex, ey = [0.5, 1.0, 1.5], np.array([-30, -29, -28], dtype=np.int64)
    lo, hi = (0.2, 0.3, 0.4), np.array([0.4, 0.3, 0.2])
    stylus.symbol(14, 300, 300)
    stylus.rlsymb(2, 1.0, -26.0)
    stylus.errcap(12)
    stylus.errbar(ex, ey, lo, hi, 3)
    stylus.errhor(ex, ey, lo, hi)
    stylus.legini(1)
    stylus.marker(3)
    stylus.hsymbl(30)
    stylus.incmrk(25)
    stylus.setclr(200)
    stylus.curve(x, y, 200)
    stylus.leglin("the curve", 1)
    stylus.legend("UR")
    stylus.legpag(400, 400)
    stylus.rimage("every.img")
    stylus.rtiff("every.tif")
    stylus.rpng("every_r.png")
    out.write(f"nwarns {stylus.nwarns()} date {len(stylus.dddate())} "
              f"time {len(stylus.ddtime())}\n")
    stylus.disfin()
    out.write(f"file written [{stylus.getfil()}]\n")


def main():
    with open("values.txt", "w") as out:
        out.write(f"version {stylus.getver():.1f} patch {stylus.getplv()}\n")

        def handler(number, routine, line):
            out.write(f"warning {number} {routine} [{line}]\n")
            return 0

        stylus.setwrn(handler)
        stylus.winini()
        draw(out, "PNG", "every.png")
        draw(out, "POST", "every.psc")
        stylus.setwrn(None)


if __name__ == "__main__":
    main()
