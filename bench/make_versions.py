#!/usr/bin/env python3
"""Writes COUNT different version strings of one KIND to standard output,
with a fixed seed, so that every run of the benchmark sorts the same input.

    python3 make_versions.py registry 5000000 > registry.txt
    python3 make_versions.py debian 5000000 > debian.txt

registry: what package registries publish: two to four numbers, sometimes a
leading v, pre-releases (-alpha.3, rc2, .dev20240101), post-releases
(.post1), builds (+build.17, -20240505-SNAPSHOT) and calendar versions.
debian: what a distribution ships: epochs (2:), revisions (-3, -0.1),
repacks (+dfsg, +ds1), tildes (~rc1, ~bpo12+1) and rebuild and backport
suffixes (ubuntu1, ubuntu0.22.04.1, +deb12u1, +b2).

A string drawn twice is drawn again, so that every line differs.
"""
import random
import sys


def small(rng, limit):
    """A number below `limit`, small ones likelier, as release numbers are."""
    return int(limit ** rng.random()) - 1 if rng.random() < 0.9 else rng.randrange(limit)


def hexid(rng):
    return '%07x' % rng.getrandbits(28)


def stamp(rng):
    return '20%02d%02d%02d' % (rng.randrange(15, 27), rng.randrange(1, 13), rng.randrange(1, 29))


def registry(rng):
    r = rng.random()
    if r < 0.06:  # calendar versions
        parts = [str(rng.randrange(2015, 2027)), str(rng.randrange(1, 13)), str(rng.randrange(1, 32))]
        if rng.random() < 0.3:
            parts.append(str(small(rng, 100000)))
    else:
        parts = [str(small(rng, 40)), str(small(rng, 120)), str(small(rng, 400))]
        if r > 0.85:
            parts.append(str(small(rng, 10000)))
    s = '.'.join(parts)
    if rng.random() < 0.08:
        s = 'v' + s
    r = rng.random()
    if r < 0.12:  # semver pre-release
        word = rng.choice(('alpha', 'beta', 'rc', 'canary', 'next', 'preview', 'dev', 'pre'))
        s += '-%s.%d' % (word, small(rng, 300))
        if word == 'preview' and rng.random() < 0.5:
            s += '.%d.%d' % (rng.randrange(20000, 26000), small(rng, 20))
    elif r < 0.22:  # Python pre-release
        s += '%s%d' % (rng.choice(('a', 'b', 'rc')), small(rng, 30))
    elif r < 0.27:
        s += '.dev%s' % (small(rng, 200) if rng.random() < 0.5 else stamp(rng))
    elif r < 0.31:
        s += '.post%d' % small(rng, 30)
    elif r < 0.35:
        s += '+%s' % rng.choice(('build.%d' % small(rng, 5000), 'sha.' + hexid(rng),
                                 'g' + hexid(rng), 'local.%d' % small(rng, 50)))
    elif r < 0.37:
        s += '-%s-SNAPSHOT' % stamp(rng)
    elif r < 0.39:
        s += '-%d-g%s' % (small(rng, 500), hexid(rng))
    return s


def upstream(rng):
    r = rng.random()
    if r < 0.05:
        s = stamp(rng)
        if rng.random() < 0.5:
            s = '0.0~git%s.%s' % (s, hexid(rng))
    else:
        n = 2 if r < 0.35 else 3 if r < 0.9 else 4
        s = '.'.join(str(small(rng, (30, 80, 300, 50)[i])) for i in range(n))
        if rng.random() < 0.05:
            s += rng.choice('abcdefgh')
    r = rng.random()
    if r < 0.06:
        s += '~%s%d' % (rng.choice(('rc', 'beta', 'alpha', 'pre')), small(rng, 10))
    elif r < 0.16:
        s += rng.choice(('+dfsg', '+dfsg1', '+ds', '+ds1', '+repack', '.dfsg', '+really%s' % s))
    return s


def revision(rng):
    r = rng.random()
    if r < 0.08:
        s = '0.%d' % small(rng, 10)
    else:
        s = str(small(rng, 30) + 1)
        if rng.random() < 0.05:
            s += '.%d' % small(rng, 10)
    r = rng.random()
    if r < 0.15:
        s += 'ubuntu%d' % small(rng, 12)
        if rng.random() < 0.5:
            s += '.%d' % small(rng, 6)
    elif r < 0.25:
        s += 'ubuntu0.%s.%d' % (rng.choice(('18.04', '20.04', '22.04', '24.04', '24.10')), small(rng, 8))
    elif r < 0.33:
        s += '+deb%du%d' % (rng.randrange(9, 14), small(rng, 12))
    elif r < 0.38:
        s += '~bpo%d+%d' % (rng.randrange(9, 14), small(rng, 4))
    elif r < 0.44:
        s += '+b%d' % small(rng, 6)
    elif r < 0.47:
        s += 'build%d' % small(rng, 6)
    return s


def debian(rng):
    s = upstream(rng)
    if rng.random() < 0.85:
        s += '-' + revision(rng)
    if rng.random() < 0.12:
        s = '%d:%s' % (small(rng, 5) + 1, s)
    return s


def main():
    kinds = {'registry': (registry, 11), 'debian': (debian, 12)}
    if len(sys.argv) != 3 or sys.argv[1] not in kinds:
        sys.exit('usage: make_versions.py registry|debian COUNT')
    make, seed = kinds[sys.argv[1]]
    count = int(sys.argv[2])
    rng = random.Random(seed)
    seen = set()
    out = []
    while len(out) < count:
        s = make(rng)
        if s not in seen:
            seen.add(s)
            out.append(s)
    sys.stdout.write('\n'.join(out) + '\n')


if __name__ == '__main__':
    main()
