#!/usr/bin/env python3
"""Writes tests/donnees/differentiel.tsv: evaluations in the exchange format,
mutated at random, each with the verdict of a reader that is not ours:
Python's json module (strict: no raw control character in a text, no NaN,
no key twice in an object), no lone UTF-16 half in a text, and the JSON
Schema of the format (python3-jsonschema, draft 2020-12).

Run once by hand, the result committed and reviewed; the tests replay it:
    python3 tests/json/generer-differentiel.py > tests/donnees/differentiel.tsv
"""
import base64
import json
import random
import sys
from pathlib import Path

import jsonschema

RACINE = Path(__file__).resolve().parents[2]
SCHEMA = json.loads((RACINE / "evaluation/schema/evaluation.schema.json").read_text())
VALIDEUR = jsonschema.Draft202012Validator(SCHEMA)


class Refus(Exception):
    pass


def sans_doublon(paires):
    objet = {}
    for cle, valeur in paires:
        if cle in objet:
            raise Refus("clé en double")
        objet[cle] = valeur
    return objet


def textes(valeur):
    if isinstance(valeur, str):
        yield valeur
    elif isinstance(valeur, dict):
        for cle, v in valeur.items():
            yield cle
            yield from textes(v)
    elif isinstance(valeur, list):
        for v in valeur:
            yield from textes(v)


def verdict(octets):
    try:
        texte = octets.decode("utf-8", errors="strict")
        document = json.loads(texte, object_pairs_hook=sans_doublon, parse_constant=lambda c: (_ for _ in ()).throw(Refus(c)))
    except (UnicodeDecodeError, json.JSONDecodeError, Refus, RecursionError):
        return "refuse"
    if any(0xD800 <= ord(c) <= 0xDFFF for t in textes(document) for c in t):
        return "refuse"
    return "accepte" if VALIDEUR.is_valid(document) else "refuse"


def graines():
    exemple = json.loads((RACINE / "exemples/evaluation.json").read_text())
    compacte = json.dumps(exemple, ensure_ascii=False, separators=(",", ":"))
    yield (RACINE / "exemples/evaluation.json").read_bytes()
    yield compacte.encode()
    sans_resultats = dict(exemple)
    del sans_resultats["resultats"]
    yield json.dumps(sans_resultats, ensure_ascii=False, indent=1).encode()
    echappee = json.dumps(exemple, ensure_ascii=True)
    yield echappee.encode()


# Edits a reader meets: in structure, in texts, in numbers.
MORCEAUX = [b"{", b"}", b"[", b"]", b",", b":", b'"', b"\\", b" ", b"\n", b"\x01", b"\x7f", b"\xe9", b"\xc3",
            b"\xed\xa0\x80", b"\\u", b"\\ud800", b"\\udc00", b"\\u0054", b"\\n", b"\\q", b"1.0", b"1.5", b"1e0",
            b"-", b"0", b"null", b"true", b"x", b"D", b"aucun"]


def muter(octets, alea):
    b = bytearray(octets)
    for _ in range(alea.randint(1, 3)):
        position = alea.randrange(len(b) + 1)
        genre = alea.randrange(4)
        if genre == 0 and position < len(b):
            del b[position:position + alea.randint(1, 4)]
        elif genre == 1:
            b[position:position] = alea.choice(MORCEAUX)
        elif genre == 2 and position < len(b):
            b[position:position + 1] = alea.choice(MORCEAUX)
        else:
            # A member's text written again elsewhere: keys twice, escaped keys.
            debut = b.find(b'"', position)
            fin = b.find(b'"', debut + 1)
            if 0 <= debut < fin:
                morceau = bytes(b[debut:fin + 1])
                if alea.random() < 0.5 and len(morceau) > 2:
                    morceau = b'"\\u%04x' % morceau[1] + morceau[2:]
                ailleurs = alea.randrange(len(b) + 1)
                b[ailleurs:ailleurs] = morceau + b":1,"
    return bytes(b)


def melanger(valeur, alea):
    if isinstance(valeur, dict):
        cles = list(valeur)
        alea.shuffle(cles)
        return {c: melanger(valeur[c], alea) for c in cles}
    return valeur


def reecrire(octets, alea):
    """The same evaluation written otherwise: members in another order,
    other blanks, escapes, whole numbers written 1.0 or 1e0."""
    document = melanger(json.loads(octets), alea)
    texte = json.dumps(document, ensure_ascii=alea.random() < 0.5,
                       indent=alea.choice([None, 0, 2, "\t"]), separators=alea.choice([None, (",", ":")]))
    if alea.random() < 0.5:
        texte = texte.replace('"version": 1', '"version": 1.0', 1).replace('"version":1', '"version":1e0', 1)
    return texte.encode()


def main():
    alea = random.Random(2026)
    cas = []
    for graine in graines():
        cas.append(graine)
        for _ in range(12):
            cas.append(reecrire(graine, alea))
        for _ in range(24):
            cas.append(muter(graine if alea.random() < 0.5 else reecrire(graine, alea), alea))
    sys.stdout.write("# verdict\tévaluation en base64 ; écrit par tests/json/generer-differentiel.py\n")
    for octets in cas:
        sys.stdout.write(f"{verdict(octets)}\t{base64.b64encode(octets).decode()}\n")


main()
