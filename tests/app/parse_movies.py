"""Builds movies with orbilux-build and reads them back with yaswfp, an SWF
parser of its own: the tag sequence, every tag's length (yaswfp checks that
each tag it decodes uses exactly its stated length), the ids, depths and
names, the picture count in the script and the file length must all agree.

Usage: parse_movies.py PATH-TO-orbilux-build
"""

import io
import os
import subprocess
import sys
import tempfile
import zlib

from yaswfp import swfparser

SIZES = [(550, 400), (800, 600), (1920, 1080)]
COUNTS = [1, 3, 12]


def make_jpeg(folder, name, width, height, k):
    """A JPEG of a shifting stripe pattern, through cjpeg from a PPM."""
    base = bytes((i * 7) % 251 for i in range(width * 3 + height + 64))
    rows = b"".join(base[(y + 13 * k) % 64 + y:(y + 13 * k) % 64 + y + width * 3]
                    for y in range(height))
    ppm = os.path.join(folder, name + ".ppm")
    with open(ppm, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height) + rows)
    jpeg = os.path.join(folder, name + ".jpg")
    with open(jpeg, "wb") as out:
        subprocess.run(["cjpeg", "-quality", "85", ppm], stdout=out, check=True)
    os.remove(ppm)
    with open(jpeg, "rb") as f:
        return jpeg, f.read()


def expected_names(n):
    names = ["FileAttributes", "SetBackgroundColor", "DoAction"]
    names += ["DefineBitsJPEG2", "DefineShape", "DefineSprite", "PlaceObject2"] * n
    names += ["DefineBitsLossless2", "DefineShape", "DefineSprite", "PlaceObject2",
              "DefineShape", "DefineSprite", "PlaceObject2", "ShowFrame"]
    return names


def check_movie(data, width, height, jpegs):
    """The problems found in one movie, as texts."""
    problems = []

    def expect(what, got, wanted):
        if got != wanted:
            problems.append("%s: got %r, wanted %r" % (what, got, wanted))

    src = io.BytesIO(data)
    parsed = swfparser.SWFParser(src)
    n = len(jpegs)
    header = parsed.header
    expect("signature", header.Signature, "FWS")
    expect("version", header.Version, 9)
    expect("FileLength", header.FileLength, len(data))
    expect("frame size", header.FrameSize, (0, 20 * width, 0, 20 * height))
    expect("frame rate", header.FrameRate, 12 << 8)
    expect("frame count", header.FrameCount, 1)
    expect("bytes read up to End", src.tell(), len(data))

    tags = parsed.tags
    expect("tag sequence", [t.name for t in tags], expected_names(n))
    for k, t in enumerate(tags):
        kind = type(t).__name__
        if kind == "FailingObject":
            problems.append("tag %d (%s) does not fit its length" % (k, t.name))
        elif kind == "UnknownObject" and t.name != "DefineBitsLossless2":
            problems.append("tag %d (%s) not understood" % (k, t.name))
    if problems:
        return problems

    # The script declares TotalPic with the picture count.
    actions = tags[2].Actions
    total = actions[0].ConstantPool.index("TotalPic")
    declared = [actions[k + 1].Integer for k in range(len(actions) - 2)
                if actions[k].name == "ActionPush" and getattr(actions[k], "Constant8", None) == total
                and actions[k + 1].name == "ActionPush" and getattr(actions[k + 1], "Type", None) == 7
                and actions[k + 2].name == "ActionDefineLocal"]
    expect("TotalPic declared", declared, [n])

    pictures = tags[3:3 + 4 * n]
    for i in range(n):
        bitmap, shape, clip, place = pictures[4 * i:4 * i + 4]
        expect("bitmap id %d" % i, bitmap.CharacterID, 3 * i + 1)
        expect("picture %d bytes" % i, b"\xff\xd8" + bitmap.ImageData, jpegs[i])
        expect("shape id %d" % i, shape.ShapeId, 3 * i + 2)
        expect("shape %d bitmap" % i,
               [s.BitmapId for s in shape.Shapes.FillStyles.FillStyles], [0xFFFF, 3 * i + 1])
        expect("clip id %d" % i, clip.CharacterID, 3 * i + 3)
        expect("clip %d content" % i, [c.name for c in clip.ControlTags],
               ["PlaceObject2", "ShowFrame"])
        expect("clip %d child" % i, clip.ControlTags[0].CharacterId, 3 * i + 2)
        expect("placement %d" % i, (place.Depth, place.CharacterId, place.Name),
               (2 * i + 1, 3 * i + 3, "pic%d" % (i + 1)))
        expect("placement %d translation" % i,
               (place.Matrix.TranslateX, place.Matrix.TranslateY), (10 * width, 10 * height))

    hint_bitmap, hint_shape, hint_clip, hint_place, screen_shape, screen_clip, screen_place = \
        tags[3 + 4 * n:3 + 4 * n + 7]
    payload = hint_bitmap.raw_payload
    expect("hint bitmap head", payload[:7],
           bytes([(3 * n + 1) & 0xFF, (3 * n + 1) >> 8, 5, 218, 0, 32, 0]))
    expect("hint pixels", len(zlib.decompress(payload[7:])), 218 * 32 * 4)
    expect("hint shape", (hint_shape.ShapeId,
                          hint_shape.Shapes.FillStyles.FillStyles[1].BitmapId),
           (3 * n + 2, 3 * n + 1))
    expect("hint clip", (hint_clip.CharacterID, hint_clip.ControlTags[0].CharacterId),
           (3 * n + 3, 3 * n + 2))
    expect("hint placement", (hint_place.Depth, hint_place.CharacterId, hint_place.Name),
           (2 * n + 1, 3 * n + 3, "tips"))
    expect("screen shape", screen_shape.ShapeId, 3 * n + 4)
    expect("screen clip", (screen_clip.CharacterID, screen_clip.ControlTags[0].CharacterId),
           (3 * n + 5, 3 * n + 4))
    expect("screen placement", (screen_place.Depth, screen_place.CharacterId, screen_place.Name),
           (2 * n + 3, 3 * n + 5, "ScreenMain"))
    expect("screen alpha", screen_place.ColorTransform.AlphaMultTerm, 0)
    return problems


def main():
    program = sys.argv[1]
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        for width, height in SIZES:
            made = [make_jpeg(folder, "p%d-%dx%d" % (k, width, height), width, height, k)
                    for k in range(max(COUNTS))]
            for n in COUNTS:
                movie = os.path.join(folder, "movie.swf")
                run = subprocess.run([program, "-o", movie] + [p for p, _ in made[:n]],
                                     capture_output=True, text=True)
                label = "%d at %d x %d" % (n, width, height)
                if run.returncode != 0:
                    print("FAIL %s: orbilux-build exited %d: %s" % (label, run.returncode,
                                                                     run.stderr))
                    failures += 1
                    continue
                with open(movie, "rb") as f:
                    data = f.read()
                try:
                    problems = check_movie(data, width, height, [b for _, b in made[:n]])
                except Exception as error:  # the parser itself gave up
                    problems = ["parser failed: %r" % error]
                for p in problems:
                    print("FAIL %s: %s" % (label, p))
                failures += bool(problems)
                if not problems:
                    print("ok   %s: %d bytes, %d tags" % (label, len(data), 3 + 4 * n + 8 + 1))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
