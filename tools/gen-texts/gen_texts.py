#!/usr/bin/env python3
"""Writes the interpretation texts of the analysis window into a program folder.

    python3 tools/gen-texts/gen_texts.py --out data

Files (Windows-1252, CR LF): OpzioneT/SpgPian.txt, SpgPianSpe.Txt, SpgPianCan.Txt,
SpgSegni.txt, SpgSegnSpe.txt, PosiSegn.Txt and Appoggio/Messaggi.txt. The systematic
texts are composed from the tables of correspondences.py; the general texts and the
messages are in general_texts.py and messages.py. The output depends on nothing but
these files, so it is the same on every run.
"""

import argparse
import os
import re
import sys
import textwrap
import zlib

sys.dont_write_bytecode = True  # no cache files beside the sources
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from correspondences import (ASPECT_ORDER, ASPECTS, BODIES, DIGNITY, ELEMENTS, HOUSE_KIND, HOUSES,  # noqa: E402
                             HUMOR, JOY, PLANETS, PRINCIPLE_ART, QUADRANT, QUALITY_F, ROMAN, SIGNS,
                             aspect_possible, face_ruler, humor_of)
import general_texts  # noqa: E402
import messages  # noqa: E402

PLANET_TEXT_COLUMN = 22   # SpgPian, SpgPianSpe, SpgPianCan: text from character 22
PLANET_TEXT_WIDTH = 60    # the body window shows 60 characters
SIGN_TEXT_COLUMN = 4      # SpgSegni: text from character 4, 80 characters
SIGN_TEXT_WIDTH = 80
SIGN_CODE_COLUMN = 21     # SpgSegnSpe: text from character 21, 50 characters
SIGN_CODE_WIDTH = 50

QUALITY_WORD = {"C": "cálido", "F": "frío", "H": "húmedo", "S": "seco"}
OPPOSITE_Q = {"C": "F", "F": "C", "H": "S", "S": "H"}
ORD_M = {1: "primer", 2: "segundo", 3: "tercer"}
ORD_F = {1: "primera", 2: "segunda", 3: "tercera"}


# --- helpers ---------------------------------------------------------------------------

class TextError(Exception):
    pass


def choose(key, salt, options):
    """A stable choice among options for one key, so neighbouring keys read differently."""
    return options[zlib.crc32((key + "/" + salt).encode("utf-8")) % len(options)]


def first_fitting(candidates, width, what):
    for c in candidates:
        if len(c) <= width:
            return c
    raise TextError(f"{what}: no text fits {width} characters: {candidates[-1]!r}")


def cap(s):
    return s[:1].upper() + s[1:]


def and_join(items):
    items = [i for i in items if i]
    if len(items) <= 1:
        return "".join(items)
    last = items[-1]
    conj = "e" if last[:1].lower() == "i" or last[:2].lower() == "hi" else "y"
    return ", ".join(items[:-1]) + f" {conj} " + last


def wrap(text, width):
    return textwrap.wrap(text, width, break_long_words=False, break_on_hyphens=False)


def contract(text):
    """Spanish contractions that composed phrases produce: 'de el' -> 'del', 'a el' -> 'al'."""
    return re.sub(r"\b([Dd]e|[Aa]) el\b", lambda m: m.group(1) + "l", text)


def keyed_lines(key, column, width, texts):
    """Lines of one key: the key padded to the text column, then the text."""
    out = []
    for t in texts:
        if len(t) > width:
            raise TextError(f"{key}: line longer than {width}: {t!r}")
        out.append(key.ljust(column - 1) + t)
    return out


def entry(key, headline, paragraph):
    headline = contract(headline)
    if len(headline) > PLANET_TEXT_WIDTH:
        raise TextError(f"{key}: headline longer than {PLANET_TEXT_WIDTH}: {headline!r}")
    return keyed_lines(key, PLANET_TEXT_COLUMN, PLANET_TEXT_WIDTH,
                       [headline] + wrap(contract(paragraph), PLANET_TEXT_WIDTH))


def de(noun_with_article):
    """'el oro' -> 'del oro', 'la plata' -> 'de la plata'."""
    if noun_with_article.startswith("el "):
        return "del " + noun_with_article[3:]
    return "de " + noun_with_article


def a_(noun_with_article):
    """'a' before a noun: 'el corazón' -> 'al corazón'."""
    if noun_with_article.startswith("el "):
        return "al " + noun_with_article[3:]
    return "a " + noun_with_article


def metal_art(p):
    m = BODIES[p]["metal"]
    return ("la " if m == "plata" else "el ") + m


def opposite(sign):
    return (sign + 5) % 12 + 1


def plant(p, k):
    plants = BODIES[p]["plants"]
    return plants[k % len(plants)]


def caution_for(*names):
    """The warnings that go with the plants named (a toxic or external-only plant)."""
    notes = []
    for p in PLANETS:
        c = BODIES[p]["caution"]
        if c and any(c.lower().split(",")[0] in ("el " + n, "la " + n) for n in names):
            notes.append(c)
    return notes


def with_caution(sentence, plants):
    return " ".join([sentence] + caution_for(*plants))


def dignity_of(p, s):
    d = DIGNITY[p]
    for kind in ("dom", "exalt", "exile", "fall"):
        if s in d[kind]:
            return kind
    return None


def temperament(p, s):
    """The planet's qualities against the sign's element: (sentence, dominant humor)."""
    b, e = BODIES[p], ELEMENTS[SIGNS[s]["element"]]
    ph, pm = b["heat"], b["moist"]
    if ph is None and pm is None:
        return (f"{cap(b['art'])} adopta la naturaleza {e['adj_f']} del signo: temperamento "
                f"{e['humor']} de tono nervioso.", e["humor"])
    heat = ph or e["heat"]
    moist = pm or e["moist"]
    same = [q for q in (ph, pm) if q and q in (e["heat"], e["moist"])]
    against = [q for q in (ph, pm) if q and q not in (e["heat"], e["moist"])]
    humor = humor_of(heat, moist)
    if not against:
        h = HUMOR[humor]
        return (f"Naturaleza {h['fem']} reforzada: conviene templarla con plantas "
                f"{h['balance_pl']}, como {h['plants'][0]} o {h['plants'][1]}.", humor)
    if not same and len(against) == 2:
        return (f"Lo {QUALITY_WORD[ph]} y {QUALITY_WORD[pm]} {de(b['art'])} se opone a lo "
                f"{QUALITY_WORD[e['heat']]} y {QUALITY_WORD[e['moist']]} del signo: cualidades "
                f"que se compensan y piden un término medio.", None)
    shared = same[0] if same else None
    clash = against[0]
    advice = {
        "S": "cuidar la hidratación de los tejidos",
        "H": "evitar que los humores se estanquen",
        "C": "evitar el sobrecalentamiento y los excesos",
        "F": "proteger del frío y activar la circulación",
    }
    if shared:
        return (f"Predomina lo {QUALITY_WORD[shared]}, mientras lo {QUALITY_WORD[clash]} del "
                f"planeta se templa en el signo: {advice[shared]}.", humor)
    return (f"Lo {QUALITY_WORD[clash]} del planeta se templa en un signo "
            f"{QUALITY_WORD[OPPOSITE_Q[clash]]}: {advice[OPPOSITE_Q[clash]]}.", humor)


# --- bodies in the signs --------------------------------------------------------------

SIGN_EFFECT = {
    1: "se concentra el calor vital",
    2: "se acumulan líquidos y se reflejan los estados de ánimo",
    3: "repercuten las tensiones nerviosas",
    4: "se busca equilibrio y buena irrigación",
    5: "tienden a localizarse inflamaciones y golpes",
    6: "hay tendencia a la plétora y la congestión",
    7: "hay tendencia a la rigidez y al enfriamiento",
}

NOUN_F = {1: "vitalidad", 2: "sensibilidad", 3: "inteligencia", 4: "afectividad", 5: "energía",
          6: "expansión", 7: "estructura", 8: "evolución", 9: "herencia", 10: "constitución",
          11: "vocación"}

SIGN_VIRTUE = {
    1: "la iniciativa", 2: "la constancia", 3: "el intercambio", 4: "el cuidado",
    5: "la expresión del corazón", 6: "el orden y la medida", 7: "el equilibrio",
    8: "la transformación", 9: "la búsqueda de sentido", 10: "la disciplina",
    11: "la independencia", 12: "la entrega",
}

QUALITY_REACTION = {
    "cardinal": "reacciona con rapidez, con crisis agudas y breves",
    "fijo": "reacciona con lentitud y tiende a cronificar",
    "mutable": "reacciona de forma cambiante, alternando síntomas",
}

DIGNITY_TAG = {"dom": "en domicilio", "exalt": "en exaltación", "exile": "en exilio", "fall": "en caída"}
DIGNITY_SHORT = {"dom": " (Dom.)", "exalt": " (Exalt.)", "exile": " (Exil.)", "fall": " (Caída)", None: ""}


def dignity_sentence(p, s, key):
    b = BODIES[p]
    virtue = "la virtud " + de(metal_art(p))
    kind = dignity_of(p, s)
    if kind == "dom":
        return choose(key, "dig", [
            f"En su propio domicilio, {virtue} actúa con plenitud sobre {b['organs']}.",
            f"En casa propia, {b['art']} {b['verb']} sin obstáculos: {b['organs']} tienen buena reserva.",
        ])
    if kind == "exalt":
        return choose(key, "dig", [
            f"En exaltación, {virtue} se eleva: {b['organs']} responden con fuerza, a veces con exceso.",
            f"Exaltación: {b['art']} {b['verb']} con brío; cuidar que la fuerza no se desborde sobre {b['organs_short']}.",
        ])
    if kind == "exile":
        return choose(key, "dig", [
            f"En exilio, {virtue} trabaja en terreno ajeno y {b['organs']} se resienten con facilidad.",
            f"Exilio: {b['art']} {b['verb']} con dificultad; {b['organs_short']} piden atención.",
        ])
    if kind == "fall":
        return choose(key, "dig", [
            f"En caída, {virtue} se debilita y {b['organs']} piden sostén.",
            f"Caída: la fuerza {de(b['art'])} se apaga y pueden aparecer {b['lack']}.",
        ])
    ruler = BODIES[SIGNS[s]["ruler"]]
    return choose(key, "dig", [
        f"Sin dignidad propia, {b['art']} actúa a través de {ruler['art']}, regente de {SIGNS[s]['name']}, que tiñe su acción.",
        f"{'Peregrino' if b['masc'] else 'Peregrina'} en {SIGNS[s]['name']}, depende {de(ruler['art'])}: observar también su estado en la carta.",
    ])


def planet_in_sign(p, s):
    b, sg = BODIES[p], SIGNS[s]
    key = b["code4"] + sg["tag4"]
    kind = dignity_of(p, s)
    adjs = sg["adj"][p % 3:] + sg["adj"][:p % 3]
    heads = []
    for a in adjs:
        tag = DIGNITY_TAG.get(kind, "peregrino" if b["masc"] else "peregrina")
        heads.append(f"{b['name']} en {sg['name']}, {tag}: {NOUN_F[p]} {a}")
    for a in adjs:
        heads.append(f"{b['name']} en {sg['name']}: {NOUN_F[p]} {a}")
    head = first_fitting(heads, PLANET_TEXT_WIDTH, key)
    temper, _ = temperament(p, s)
    pp = plant(p, s - 1)
    sp = sg["plants"][p % 3]
    if sp == pp:
        sp = sg["plants"][(p + 1) % 3]
    plants = choose(key, "pl", [
        f"Plantas afines: {pp} para {b['organ1']} y {sp} para {sg['body1']}.",
        f"Remedio de base: {pp}, asociado a {sp} por la zona de {sg['name']}.",
        f"{cap(pp)} sostiene el principio {de(b['art'])}; {sp} protege {sg['body1']}.",
    ])
    text = " ".join([
        dignity_sentence(p, s, key),
        f"{sg['name']} rige {sg['body']}; allí {SIGN_EFFECT[p]}. Vigilar {sg['weak']}.",
        temper,
        with_caution(plants, [pp, sp]),
    ])
    return entry(key, head, text)


def node_in_sign(p, s):
    b, sg = BODIES[p], SIGNS[s]
    key = b["code4"] + sg["tag4"]
    op = SIGNS[opposite(s)]
    if p == 8:
        head = first_fitting([f"Nodo Norte en {sg['name']}: crecer por {SIGN_VIRTUE[s]}",
                              f"Nodo Norte en {sg['name']}: crecer"], PLANET_TEXT_WIDTH, key)
        text = (f"Señala lo que conviene desarrollar: {SIGN_VIRTUE[s]}. En el cuerpo, {sg['body']} "
                f"piden ser fortalecidos y bien nutridos; plantas de {sg['name']} como "
                f"{sg['plants'][0]} o {sg['plants'][1]} acompañan ese aprendizaje. "
                f"El eje se completa con el Nodo Sur en {op['name']}: lo conocido sirve de apoyo, "
                f"no de refugio.")
    else:
        head = first_fitting([f"Nodo Sur en {sg['name']}: soltar el exceso {de(SIGN_VIRTUE[s])}",
                              f"Nodo Sur en {sg['name']}: soltar lo heredado"], PLANET_TEXT_WIDTH, key)
        text = (f"Marca un hábito heredado: el abuso {de(SIGN_VIRTUE[s])}, por costumbre. "
                f"En {sg['body']} tienden a descargarse las tensiones acumuladas; favorecer "
                f"la eliminación con {sg['plants'][2]} y no sobrecargar esa zona. El camino de "
                f"crecimiento pasa por el Nodo Norte en {op['name']}: {SIGN_VIRTUE[opposite(s)]}.")
    return entry(key, head, text)


def angle_in_sign(p, s):
    b, sg = BODIES[p], SIGNS[s]
    key = b["code4"] + sg["tag4"]
    e = ELEMENTS[sg["element"]]
    ruler = BODIES[sg["ruler"]]
    if p == 10:
        head = first_fitting([f"Ascendente en {sg['name']}: constitución {e['adj_f']} y {QUALITY_F[sg['quality']]}",
                              f"Ascendente en {sg['name']}: constitución {e['adj_f']}"], PLANET_TEXT_WIDTH, key)
        text = (f"Temperamento de base {e['humor']}; el cuerpo {QUALITY_REACTION[sg['quality']]}. "
                f"Zona más expuesta: {sg['body']}. El regente del Ascendente, {ruler['art']}, "
                f"y su metal, {metal_art(sg['ruler'])}, indican el remedio de fondo; por su "
                f"posición en la carta se juzga la resistencia. Plantas de apoyo: "
                f"{and_join(sg['plants'])}.")
        text = with_caution(text, sg["plants"])
    else:
        head = first_fitting([f"Medio Cielo en {sg['name']}: vocación {sg['adj'][0]}",
                              f"Medio Cielo en {sg['name']}"], PLANET_TEXT_WIDTH, key)
        text = (f"La voluntad se orienta hacia {SIGN_VIRTUE[s]}; cuando la exigencia pesa "
                f"demasiado, el desgaste recae en {sg['body']}. Regente del Medio Cielo: "
                f"{ruler['art']}; su planta, {plant(sg['ruler'], s)}, sostiene el esfuerzo, y "
                f"{sg['plants'][1]} cuida la zona del signo.")
    return entry(key, head, text)


def body_in_sign(p, s):
    if p <= 7:
        return planet_in_sign(p, s)
    if p <= 9:
        return node_in_sign(p, s)
    return angle_in_sign(p, s)


# --- bodies in the houses -------------------------------------------------------------

HOUSE_VERB = ["puesta en", "volcada en", "centrada en", "al servicio de"]

KIND_SENTENCE = {
    "angular": "Casa angular: {art} se manifiesta de forma visible en {theme}.",
    "sucedente": "Casa sucedente: {art} consolida y acumula en el ámbito de {theme}.",
    "cadente": "Casa cadente: {art} actúa de modo adaptable, a veces poco visible, en {theme}.",
}

DIFFICULT = {6, 8, 12}


def body_in_house(p, h):
    b, hs = BODIES[p], HOUSES[h]
    key = b["code4"] + hs["tag"]
    natural = SIGNS[h]
    heads = [f"{b['name']} en casa {ROMAN[h]}: {NOUN_F[p]} {v} {hs['short']}"
             for v in [choose(key, "v", HOUSE_VERB)] + HOUSE_VERB]
    head = first_fitting(heads + [f"{b['name']} en casa {ROMAN[h]}"], PLANET_TEXT_WIDTH, key)
    parts = [KIND_SENTENCE[HOUSE_KIND[h]].format(art=b["art"], theme=hs["theme"])] if p <= 9 else []
    if p <= 7:
        if JOY.get(p) == h:
            parts.append(f"Es la casa del gozo {de(b['art'])}: allí su naturaleza se expresa con agrado.")
        if h in DIFFICULT:
            parts.append(f"En salud habla de {hs['health']}, un lugar delicado: vigilar {b['excess']}.")
        else:
            parts.append(f"En salud habla de {hs['health']}; {b['art']} aporta {NOUN_F[p]} a través "
                         f"{de(b['organs_short'])}.")
        pp = plant(p, h)
        sp = natural["plants"][(p + h) % 3]
        parts.append(with_caution(
            f"Planta de apoyo: {pp}. La casa {ROMAN[h]} corresponde a {natural['name']}, que sugiere "
            f"también {sp} para {natural['body1']}.", [pp, sp]))
    elif p == 8:
        parts.append(f"El crecimiento pasa por {hs['theme']}: lo nuevo se aprende ahí. En salud, "
                     f"cultivar {hs['health']} con hábitos regulares y plantas de {natural['name']}, "
                     f"como {natural['plants'][0]}.")
    elif p == 9:
        parts.append(f"Viejos hábitos ligados a {hs['theme']} piden ser soltados. En salud, "
                     f"{hs['health']} muestran lo que se repite por costumbre; {natural['plants'][2]} "
                     f"ayuda a depurar la zona de {natural['name']}.")
    elif p == 10:
        usual = h == 1
        parts.append(("Es su lugar ordinario: la constitución y la primera impresión coinciden. "
                      if usual else
                      f"Contado desde 15° antes de las cúspides, el Ascendente cae en la zona de la casa "
                      f"{ROMAN[h]}: la constitución se tiñe de {hs['theme']}. ")
                     + f"En salud cuentan {hs['health']}; {natural['plants'][0]} es planta afín.")
    else:
        usual = h in (9, 10, 11)
        parts.append(("La vocación se expresa en su zona habitual, " if usual else
                      f"{KIND_SENTENCE[HOUSE_KIND[h]].split(':')[0]}, poco común para el Medio Cielo: "
                      "la vocación se desplaza hacia ")
                     + f"{hs['theme']}; la voluntad gobierna {hs['health']}. Planta afín: "
                       f"{natural['plants'][1]}.")
    return entry(key, head, " ".join(parts))


# --- six-degree sectors ---------------------------------------------------------------

def sector_geometry(k):
    h = (k - 1) // 5 + 1
    place = (k - 1) % 5
    start = 6 * (k - 1) - 15
    end = start + 6
    actual = h if place >= 2 else (h - 2) % 12 + 1
    return h, place, start, end, actual


def sector_zone(h, place):
    r = ROMAN[h]
    if place == 0:
        return f"umbral de la casa {r}"
    if place == 1:
        return f"hacia la cúspide {r}"
    if place == 2:
        return {1: "sobre el Ascendente", 7: "sobre el Descendente",
                4: "punto más bajo de la eclíptica",
                10: "nonagésimo, cima de la eclíptica"}.get(h, f"zona de la cúspide {r}")
    if place == 3:
        return f"inicio de la casa {r}"
    return f"centro de la casa {r}"


def sector_arc(start, end):
    if end <= 0:
        return f"Ocupa el arco de {-start}° a {-end}° antes del Ascendente"
    if start < 0 < end:
        return "Ocupa el arco que contiene el Ascendente"
    if start < 180 < end:
        return "Ocupa el arco que contiene el Descendente"
    if start >= 180:
        return f"Ocupa el arco de {360 - end}° a {360 - start}° antes del Ascendente"
    return f"Ocupa el arco de {start}° a {end}° tras el Ascendente"


def sector_horizon(start, end):
    if start < 0 < end or start < 180 < end:
        return "en el horizonte"
    if 0 <= start and end <= 180:
        return "bajo el horizonte"
    return "sobre el horizonte"


def sector_phase(h, place, key):
    r, hs = ROMAN[h], HOUSES[h]
    prev = ROMAN[(h - 2) % 12 + 1]
    if place == 0:
        return f"Anuncia los asuntos de la casa {r} aunque aún pertenece a la {prev}."
    if place == 1:
        return f"Se aproxima a la cúspide: {hs['theme']} empiezan a dominar sobre la casa {prev}."
    if place == 2:
        if h == 1:
            return "Es el punto de máxima fuerza: todo lo que toca se imprime en el cuerpo."
        if h == 7:
            return "En el ocaso, su fuerza se vuelve hacia los otros y hacia el equilibrio."
        if h == 4:
            return "A 90° del Ascendente, en lo profundo: actúa sobre las raíces y las reservas."
        if h == 10:
            return "A 90° antes del Ascendente, en lo alto: su acción es visible y exigente."
        return f"Cerca de la cúspide su fuerza es mayor y marca {hs['theme']}."
    if place == 3:
        return f"Recién entrado en la casa {r}, actúa con frescura sobre {hs['theme']}."
    return f"En el centro de la casa {r}, su acción sobre {hs['theme']} es estable y madura."


def sector_nature(p, actual, start, end, key):
    humor = QUADRANT[actual]
    hq = HUMOR[humor]
    b = BODIES[p]
    if p == 1:
        if start < 0 < end:
            return "Sol en el horizonte oriental: nacimiento cerca del alba, vitalidad que despierta."
        if start < 180 < end:
            return "Sol en el horizonte occidental: nacimiento cerca del ocaso, vitalidad que se recoge."
        day = not (0 <= start and end <= 180)
        return ("Sol sobre el horizonte: carta diurna, favorable a los planetas de la secta del día, "
                "Júpiter y Saturno." if day else
                "Sol bajo el horizonte: carta nocturna, favorable a la Luna, Venus y Marte, "
                "planetas de la secta de la noche.")
    if p <= 7 and b["heat"] and b["moist"]:
        if (b["heat"], b["moist"]) == hq["q"]:
            return (f"El cuadrante refuerza su naturaleza {hq['fem']}: templar con "
                    f"{hq['plants'][0]} o {hq['plants'][1]}.")
        if b["heat"] != hq["q"][0] and b["moist"] != hq["q"][1]:
            return (f"Su naturaleza se opone al cuadrante {humor}: ambos se moderan; "
                    f"{plant(p, actual)} conserva su virtud.")
        return choose(key, "n", [
            f"El cuadrante {humor} matiza su acción; {plant(p, actual)} la mantiene centrada.",
            f"El tono {humor} del cuadrante modula su naturaleza; apoyo: {plant(p, actual)}.",
            f"Acción matizada por el cuadrante {humor}; {plant(p, actual)} la sostiene.",
        ])
    if p <= 7:
        return (f"{cap(b['art'])} toma el tono {humor} del cuadrante; {plant(p, actual)} lo acompaña.")
    if p == 8:
        return f"El tono {humor} del cuadrante colorea lo que está por desarrollarse."
    if p == 9:
        return f"El tono {humor} del cuadrante colorea lo que se repite por herencia."
    if p == 10:
        return f"La constitución recibe el tono {humor}; cuidar {HOUSES[actual]['health']}."
    return f"La dirección vital recibe el tono {humor}; cuidar {HOUSES[actual]['health']}."


def body_in_sector(p, k):
    b = BODIES[p]
    key = b["code4"] + f"{k:02d}"
    h, place, start, end, actual = sector_geometry(k)
    zone = sector_zone(h, place)
    head = first_fitting([f"{b['name']}, sector {k:02d}: {zone}"], PLANET_TEXT_WIDTH, key)
    humor = QUADRANT[actual]
    text = " ".join([
        f"{sector_arc(start, end)}, {sector_horizon(start, end)}, en el cuadrante {humor} "
        f"({HUMOR[humor]['season']}).",
        sector_phase(h, place, key),
        sector_nature(p, actual, start, end, key),
        f"Por analogía con {SIGNS[actual]['name']}, signo natural de la casa {ROMAN[actual]}, "
        f"toca {SIGNS[actual]['body1']}.",
    ])
    return entry(key, head, text)


# --- decans (Chaldean faces) and décadas (triplicity) -------------------------------

def decan_parts(d):
    s = (d - 1) // 3 + 1
    n = (d - 1) % 3 + 1
    return s, n, 10 * (n - 1), 10 * n


def body_in_decan(p, d):
    b = BODIES[p]
    s, n, a, z = decan_parts(d)
    sg = SIGNS[s]
    f = face_ruler(d)
    fb = BODIES[f]
    key = f"{b['tag3']}Dec{d:02d}"
    head = first_fitting([f"{b['name']}, decanato {n} de {sg['name']} (faz {de(fb['art'])})",
                          f"{b['name']}, decanato {n} de {sg['name']}"], PLANET_TEXT_WIDTH, key)
    parts = [f"Los grados {a}° a {z}° de {sg['name']} forman la faz {de(fb['art'])}, que añade "
             f"{metal_art(f)} y su atención {a_(fb['organs_short'])}."]
    if p == f:
        parts.append(f"{cap(b['art'])} está en su propia faz: una dignidad menor que le da "
                     f"confianza y recursos.")
    elif p <= 7:
        humors = humor_of(b["heat"], b["moist"]) if b["heat"] and b["moist"] else None
        fh = humor_of(fb["heat"], fb["moist"]) if fb["heat"] and fb["moist"] else None
        if humors and fh and humors == fh:
            parts.append(f"Ambos son de naturaleza {HUMOR[fh]['fem']}: la {NOUN_F[p]} se intensifica "
                         f"y conviene moderarla.")
        elif fh:
            parts.append(f"La {NOUN_F[p]} {de(b['art'])} recibe el matiz {fh} {de(fb['art'])}; "
                         f"observar {b['organ1']} junto {a_(fb['organ1'])}.")
        else:
            parts.append(f"{cap(fb['art'])} da a la {NOUN_F[p]} {de(b['art'])} un tono "
                         f"{choose(key, 't', ['mudable', 'flexible', 'templado'])}; observar "
                         f"{b['organ1']} junto {a_(fb['organ1'])}.")
    else:
        parts.append(f"{cap(b['art'])} orienta su {b['theme']} según {fb['art']}, que "
                     f"{fb['verb']}.")
    fp = plant(f, d)
    if p <= 7 and p != f:
        pp = plant(p, d)
        plants = f"Plantas: {fp}, {de(fb['art'])}, con {pp} como base."
        names = [fp, pp]
    else:
        plants = f"Plantas: {fp} y {sg['plants'][n - 1]}, de {sg['name']}."
        names = [fp, sg["plants"][n - 1]]
    parts.append(with_caution(plants, names))
    return entry(key, head, " ".join(parts))


def decada_sub_sign(d):
    s, n, _, _ = decan_parts(d)
    return (s - 1 + 4 * (n - 1)) % 12 + 1


def body_in_decada(p, d):
    b = BODIES[p]
    s, n, a, z = decan_parts(d)
    sg = SIGNS[s]
    sub = decada_sub_sign(d)
    sb = SIGNS[sub]
    r = sb["ruler"]
    rb = BODIES[r]
    key = f"{b['code2']}{d:02d}"
    head = first_fitting([f"{b['name']}, década {n} de {sg['name']}: "
                          + (f"{sg['name']} sin mezcla" if n == 1 else f"matiz de {sb['name']}"),
                          f"{b['name']}, década {n} de {sg['name']}"], PLANET_TEXT_WIDTH, key)
    if n == 1:
        first = (f"La primera década de {sg['name']} ({a}°-{z}°) es la más pura: el signo y su "
                 f"regente, {rb['art']}, hablan sin mezcla.")
    else:
        first = (f"La {ORD_F[n]} década de {sg['name']} ({a}°-{z}°) comparte el elemento "
                 f"{sg['element'].lower()} con {sb['name']}, signo {sb['quality']} regido por "
                 f"{rb['art']}.")
    if n == 1:
        second = f"El acento cae en {sb['body']}"
    else:
        second = f"El acento se desplaza hacia {sb['body']}"
    if p <= 7:
        second += f", donde {b['art']} apoya su {NOUN_F[p]}."
    elif p <= 9:
        second += f": {b['theme']} {'a cultivar' if p == 8 else 'a revisar'} en esa zona."
    else:
        second += f", que la {NOUN_F[p]} debe tener en cuenta."
    rp = plant(r, d)
    third = with_caution(f"Plantas: {sb['plants'][(p + n) % 3]} y, del regente, {rp}.",
                         [sb["plants"][(p + n) % 3], rp])
    return entry(key, head, " ".join([first, second, third]))


# --- antiscia -------------------------------------------------------------------------

def body_antiscion(p, x, contra):
    b = BODIES[p]
    xs = SIGNS[x]
    natal = 13 - x if not contra else (6 - x) % 12 + 1
    ns = SIGNS[natal]
    key = f"{b['tag3']}{'Ca' if contra else 'An'}{xs['abbr']}"
    if not contra:
        head = first_fitting([f"{b['name']}, antiscio en {xs['name']}: "
                              + choose(key, "h", ["afinidad secreta", "eco oculto", "simpatía velada"]),
                              f"{b['name']}, antiscio en {xs['name']}"], PLANET_TEXT_WIDTH, key)
        text = (f"Desde {ns['name']}, {b['art']} se refleja en {xs['name']} por el eje Aries-Libra. "
                f"Los puntos que caen allí reciben su influjo como una conjunción discreta, que "
                f"enlaza {b['organ1']} con {xs['body']}.")
        if p <= 7:
            text += f" {cap(xs['plants'][p % 3])} prolonga la acción de {plant(p, x)}."
        else:
            text += f" {cap(xs['plants'][p % 3])} acompaña ese vínculo."
    else:
        head = first_fitting([f"{b['name']}, contrantiscio en {xs['name']}: "
                              + choose(key, "h", ["tensión velada", "contrapeso oculto", "polaridad oculta"]),
                              f"{b['name']}, contrantiscio en {xs['name']}"], PLANET_TEXT_WIDTH, key)
        text = (f"Desde {ns['name']}, {b['art']} se refleja en {xs['name']} por el eje "
                f"Cáncer-Capricornio. Actúa como una oposición velada: ")
        if b["organ1"] in xs["body"]:
            text += (f"{xs['body']} son a la vez su zona propia y su reflejo, y piden doble "
                     f"atención.")
        else:
            text += f"lo que afecta a {xs['body']} repercute en {b['organ1']}, y al revés."
        h = HUMOR[ELEMENTS[xs["element"]]["humor"]]
        text += f" Compensar con {h['plants'][(p + x) % 3]}, planta {h['balance_sg']}."
    return entry(key, head, text)


# --- aspects --------------------------------------------------------------------------

EXCESS_SHORT = {1: "la fiebre", 2: "la retención", 3: "el nerviosismo", 4: "la congestión venosa",
                5: "la inflamación", 6: "la plétora", 7: "la rigidez"}
LACK_SHORT = {1: "el desánimo", 2: "la sequedad", 3: "la dispersión", 4: "la piel seca",
              5: "el cansancio", 6: "la mala asimilación", 7: "la desmineralización"}


def aspect_first(kind, bi, bj):
    oi, oj = bi["organ1"], bj["organ1"]
    return {
        "Co": f"{cap(bi['art'])} y {bj['art']} actúan juntos: {oi} y {oj} se influyen de forma directa.",
        "Se": f"Ocasión de colaboración: {oi} y {oj} se apoyan cuando se les da un estímulo.",
        "Qu": f"Fricción: lo que desequilibra {oi} repercute en {oj}, y al revés.",
        "Tr": f"Flujo armónico: {oi} y {oj} se sostienen mutuamente.",
        "Op": f"Polaridad: {oi} y {oj} oscilan entre dos extremos y piden un punto de equilibrio.",
    }[kind]


def aspect_pair_humor(i, j):
    bi, bj = BODIES[i], BODIES[j]
    heat = [q for q in (bi["heat"], bj["heat"]) if q]
    moist = [q for q in (bi["moist"], bj["moist"]) if q]
    if len(set(heat)) == 1 and len(set(moist)) == 1:
        return humor_of(heat[0], moist[0])
    return None


def aspect_second(i, j, kind):
    bi, bj = BODIES[i], BODIES[j]
    hard = ASPECTS[kind]["hard"]
    if i <= 7 and j <= 7:
        humor = aspect_pair_humor(i, j)
        if hard:
            if humor:
                return f"Tendencia {a_(EXCESS_SHORT[i])} y {a_(EXCESS_SHORT[j])}, con exceso {humor}."
            return f"Alternancia entre {EXCESS_SHORT[i]} y {LACK_SHORT[j]}, según cuál domine."
        if hard is None:
            if humor:
                return f"Naturaleza {humor} concentrada: sus metales, {metal_art(i)} y {metal_art(j)}, se suman."
            return f"Sus metales, {metal_art(i)} y {metal_art(j)}, se asocian y se templan."
        return f"Buena sinergia: la {NOUN_F[i]} y la {NOUN_F[j]} se refuerzan sin exceso."
    if (i, j) == (8, 9):
        return "Son los dos extremos de un mismo eje: lo que se recibe y lo que se suelta."
    other = bi if j >= 8 else bj
    planet = i if j >= 8 else None
    target = j if j >= 8 else i
    if target == 8:
        role = "favorece el crecimiento"
    elif target == 9:
        role = "tiende a repetir pautas heredadas"
    elif target == 10:
        role = "se imprime en el cuerpo y la constitución"
    else:
        role = "orienta la voluntad y la vocación"
    if planet is None:
        return f"Lo que aporta {other['art']} {role}."
    if hard:
        return f"Lo que aporta {other['art']} {role}, con esfuerzo: vigilar {other['organ1']}."
    return f"Lo que aporta {other['art']} {role} con facilidad."


MEDIATOR = {"colérico": "malva", "sanguíneo": "bardana", "melancólico": "borraja", "flemático": "tomillo"}


def aspect_third(i, j, kind, key):
    planets = [p for p in (i, j) if p <= 7]
    hard = ASPECTS[kind]["hard"]
    if not planets:
        if (i, j) == (8, 9):
            return ("El eje nodal se trabaja alternando depuración (Nodo Sur) y nutrición (Nodo "
                    "Norte), con ritmo lunar.")
        return "Trabajar con los planetas que aspectan a este eje."
    names = [plant(p, i + j) for p in planets]
    if len(names) == 2 and names[0] == names[1]:
        names[1] = plant(planets[1], i + j + 1)
    if hard and len(planets) == 2:
        humor = aspect_pair_humor(i, j)
        mediator = MEDIATOR.get(humor, "melisa")
        if mediator in names:
            mediator = "melisa" if mediator != "melisa" else "borraja"
        return with_caution(f"Un remedio mediador ayuda: {mediator}, junto a {names[0]} o "
                            f"{names[1]} según predomine uno u otro.", names)
    if len(names) == 2:
        return with_caution(choose(key, "r", [
            f"Conviene asociar {names[0]} y {names[1]} en un mismo preparado.",
            f"{cap(names[0])} y {names[1]} pueden combinarse con provecho.",
        ]), names)
    return with_caution(f"Planta de referencia: {names[0]}.", names)


def aspect_entry(i, j, kind):
    bi, bj = BODIES[i], BODIES[j]
    a = ASPECTS[kind]
    key = f"{bi['tag3']}{kind}{bj['tag3']}"
    head = first_fitting([f"{bi['name']} {a['name']} {bj['name']}: {a['noun']} entre {bi['theme']} y {bj['theme']}",
                          f"{bi['name']} {a['name']} {bj['name']}: {bi['theme']} y {bj['theme']}",
                          f"{bi['name']} {a['name']} {bj['name']}: {a['noun']}"], PLANET_TEXT_WIDTH, key)
    text = " ".join([aspect_first(kind, bi, bj), aspect_second(i, j, kind), aspect_third(i, j, kind, key)])
    return entry(key, head, text)


# --- keys -----------------------------------------------------------------------------

def all_keys():
    """Every key the program can look up in SpgPianSpe and SpgPianCan, with its family."""
    keys = []
    for p in range(1, 12):
        b = BODIES[p]
        keys += [("sign", b["code4"] + SIGNS[s]["tag4"], (p, s)) for s in range(1, 13)]
        keys += [("house", b["code4"] + HOUSES[h]["tag"], (p, h)) for h in range(1, 13)]
        keys += [("sector", f"{b['code4']}{k:02d}", (p, k)) for k in range(1, 61)]
        keys += [("decan", f"{b['tag3']}Dec{d:02d}", (p, d)) for d in range(1, 37)]
        keys += [("decada", f"{b['code2']}{d:02d}", (p, d)) for d in range(1, 37)]
    for contra in (False, True):
        for p in range(1, 12):
            for x in range(1, 13):
                keys.append(("anti", f"{BODIES[p]['tag3']}{'Ca' if contra else 'An'}{SIGNS[x]['abbr']}",
                             (p, x, contra)))
    for i in range(1, 10):
        for j in range(i + 1, 12):
            for kind in ASPECT_ORDER:
                if aspect_possible(i, j, kind):
                    keys.append(("aspect", f"{BODIES[i]['tag3']}{kind}{BODIES[j]['tag3']}", (i, j, kind)))
    return keys


def specific_entry(family, args):
    return {
        "sign": body_in_sign, "house": body_in_house, "sector": body_in_sector,
        "decan": body_in_decan, "decada": body_in_decada, "anti": body_antiscion,
        "aspect": aspect_entry,
    }[family](*args)


# --- printed variant: one compact line per key ----------------------------------------

def printed_line(family, key, args):
    def fit(cands):
        return first_fitting(cands, PLANET_TEXT_WIDTH, key)

    if family == "sign":
        p, s = args
        b, sg = BODIES[p], SIGNS[s]
        tag = DIGNITY_SHORT[dignity_of(p, s)] if p <= 7 else ""
        tail = plant(p, s - 1) if p <= 7 else sg["plants"][0]
        organ = "" if b["organ_word"] in sg["body_short"] else f"{b['organ_word']} / "
        return fit([f"{b['name']} en {sg['name']}{tag}: {organ}{sg['body_short']}; {tail}",
                    f"{b['name']} en {sg['name']}{tag}: {sg['body_short']}; {tail}",
                    f"{b['name']} en {sg['name']}{tag}: {tail}"])
    if family == "house":
        p, h = args
        b = BODIES[p]
        tail = plant(p, h) if p <= 7 else SIGNS[h]["plants"][0]
        return fit([f"{b['name']} en casa {ROMAN[h]}: {HOUSES[h]['short']}, {HOUSE_KIND[h]}; {tail}",
                    f"{b['name']} en casa {ROMAN[h]}: {HOUSES[h]['short']}; {tail}"])
    if family == "sector":
        p, k = args
        b = BODIES[p]
        h, place, start, end, actual = sector_geometry(k)
        humor = QUADRANT[actual]
        tail = plant(p, k) if p <= 7 else HUMOR[humor]["plants"][0]
        return fit([f"{b['name']} s.{k:02d}: {sector_zone(h, place)}; {humor}; {tail}",
                    f"{b['name']} s.{k:02d}: {sector_zone(h, place)}; {humor}",
                    f"{b['name']} s.{k:02d}: {sector_zone(h, place)}"])
    if family == "decan":
        p, d = args
        s, n, _, _ = decan_parts(d)
        f = face_ruler(d)
        return fit([f"{BODIES[p]['name']} dec.{n} {SIGNS[s]['name']} (faz {BODIES[f]['name']}): {plant(f, d)}",
                    f"{BODIES[p]['name']} dec.{n} {SIGNS[s]['name']} (faz {BODIES[f]['name']})"])
    if family == "decada":
        p, d = args
        s, n, _, _ = decan_parts(d)
        sub = SIGNS[decada_sub_sign(d)]
        return fit([f"{BODIES[p]['name']} déc.{n} {SIGNS[s]['name']} ({sub['name']}): {sub['body_short']}",
                    f"{BODIES[p]['name']} déc.{n} {SIGNS[s]['name']} ({sub['name']})"])
    if family == "anti":
        p, x, contra = args
        xs = SIGNS[x]
        what = "contrantiscio" if contra else "antiscio"
        return fit([f"{BODIES[p]['name']} {what} en {xs['name']}: {xs['body_short']}",
                    f"{BODIES[p]['name']} {what} en {xs['name']}"])
    i, j, kind = args
    a = ASPECTS[kind]
    tail = plant(i, j) if i <= 7 else (plant(j, i) if j <= 7 else "")
    return fit([f"{BODIES[i]['name']} {a['name']} {BODIES[j]['name']}: {a['noun']}" + (f"; {tail}" if tail else ""),
                f"{BODIES[i]['name']} {a['name']} {BODIES[j]['name']}: {a['noun']}"])


# --- signs ----------------------------------------------------------------------------

def sign_general(s):
    sg = SIGNS[s]
    e = ELEMENTS[sg["element"]]
    ruler = BODIES[sg["ruler"]]
    op = SIGNS[opposite(s)]
    dign = {k: [BODIES[p]["art"] for p in PLANETS if s in DIGNITY[p][k]] for k in ("exalt", "exile", "fall")}
    texts = [
        f"{sg['name']}: signo de {sg['element'].lower()}, {sg['quality']}; en la tela pertenece "
        f"{a_(PRINCIPLE_ART[sg['principle']])}.",
        f"Estación: {sg['season']}. Temperamento {e['humor']}: {QUALITY_WORD[e['heat']]} y "
        f"{QUALITY_WORD[e['moist']]}.",
        f"Regente: {ruler['art']}, con su metal, {metal_art(sg['ruler'])}; su día, el {ruler['day']}.",
    ]
    extra = [f"{label}: {and_join(dign[k])}" for k, label in
             (("exalt", "exaltación"), ("exile", "exilio"), ("fall", "caída")) if dign[k]]
    if extra:
        texts.append(cap("; ".join(extra)) + ".")
    ruler_plants = [x for x in ruler["plants"] if x not in sg["plants"]][:2]
    texts += [
        f"Rige {sg['body']}.",
        f"Tendencias: {sg['weak']}.",
        f"Eje con {op['name']}: lo que afecta {a_(sg['body1'])} repercute en {op['body1']}.",
        f"Plantas: {and_join(sg['plants'])}; del regente, {and_join(ruler_plants)}.",
    ]
    texts += general_texts.SIGN_NOTES[s]
    lines = []
    for t in texts:
        lines += wrap(contract(t), SIGN_TEXT_WIDTH)
    return keyed_lines(sg["tag2"], SIGN_TEXT_COLUMN, SIGN_TEXT_WIDTH, lines)


def sign_codes():
    """The sign-code lines that the program writes: the antiscion of every sign midpoint,
    then its contrantiscion."""
    out = []
    for contra in (False, True):
        for s in range(1, 13):
            mid = 30 * s - 15
            mirror = (540 - mid) % 360 if contra else 360 - mid
            out.append(SIGNS[s]["tag2"] + ("Ca" if contra else "An") + SIGNS[int(mirror // 30) + 1]["abbr"])
    return out


def sign_code_entry(code):
    s = next(i for i in SIGNS if SIGNS[i]["tag2"] == code[:2])
    contra = code[2:4] == "Ca"
    x = next(i for i in SIGNS if SIGNS[i]["abbr"] == code[4:])
    sg, xs = SIGNS[s], SIGNS[x]
    if not contra:
        texts = [f"Antiscio de {sg['name']} en {xs['name']}.",
                 "Espejo del eje Aries-Libra: afinidad secreta.",
                 f"Une {sg['body1']} con {xs['body1']}.",
                 f"Plantas afines: {sg['plants'][0]} y {xs['plants'][0]}."]
    else:
        h = HUMOR[ELEMENTS[xs["element"]]["humor"]]
        texts = [f"Contrantiscio de {sg['name']} en {xs['name']}.",
                 "Espejo del eje Cáncer-Capricornio: tensión.",
                 f"Entre {sg['body1']} y {xs['body1']}.",
                 f"Equilibrar con {h['plants'][s % 3]}, planta {h['balance_sg']}."]
    for t in texts:
        if len(t) > SIGN_CODE_WIDTH:
            raise TextError(f"{code}: {t!r} is longer than {SIGN_CODE_WIDTH}")
    return keyed_lines(code, SIGN_CODE_COLUMN, SIGN_CODE_WIDTH, texts)


# --- files ----------------------------------------------------------------------------

def write(path, lines):
    """Replaces the file whole: a run that fails (a full disk) leaves it old or new, and no
    temporary file behind."""
    folder = os.path.dirname(path)
    os.makedirs(folder, exist_ok=True)
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    tmp = os.path.join(folder, f".{os.path.basename(path)}.{os.getpid()}.tmp")
    try:
        with open(tmp, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        os.replace(tmp, path)
    except BaseException:
        try:
            os.remove(tmp)
        except FileNotFoundError:
            pass
        raise
    # The new file is in place; a folder that cannot be flushed only puts in doubt that the
    # rename outlives a power cut.
    try:
        fd = os.open(folder or ".", os.O_RDONLY)
        try:
            os.fsync(fd)
        finally:
            os.close(fd)
    except OSError:
        pass
    return len(lines)


def build():
    files = {}
    specific, printed = [], []
    for family, key, args in all_keys():
        lines = specific_entry(family, args)
        assert lines[0].startswith(key.ljust(PLANET_TEXT_COLUMN - 1)), key
        specific += lines
        printed += keyed_lines(key, PLANET_TEXT_COLUMN, PLANET_TEXT_WIDTH, [contract(printed_line(family, key, args))])
    files["OpzioneT/SpgPianSpe.Txt"] = specific
    files["OpzioneT/SpgPianCan.Txt"] = printed

    general = []
    for p in range(1, 12):
        lines = []
        for paragraph in general_texts.BODY_TEXTS[p]:
            lines += wrap(paragraph, PLANET_TEXT_WIDTH)
        general += keyed_lines(BODIES[p]["code4"], PLANET_TEXT_COLUMN, PLANET_TEXT_WIDTH, lines)
    files["OpzioneT/SpgPian.txt"] = general

    signs = []
    for s in range(1, 13):
        signs += sign_general(s)
    files["OpzioneT/SpgSegni.txt"] = signs

    codes = sign_codes()
    files["OpzioneT/PosiSegn.Txt"] = codes
    sign_texts = []
    for code in codes:
        sign_texts += sign_code_entry(code)
    files["OpzioneT/SpgSegnSpe.txt"] = sign_texts

    files["Appoggio/Messaggi.txt"] = messages.lines()
    return files


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", required=True, help="program folder to write into (e.g. data)")
    args = ap.parse_args()
    try:
        files = build()
    except TextError as e:
        sys.exit(f"gen_texts: {e}")
    for rel, lines in files.items():
        try:
            n = write(os.path.join(args.out, *rel.split("/")), lines)
        except OSError as e:
            sys.exit(f"gen_texts: {e}")
        print(f"{rel}: {n} lines")


if __name__ == "__main__":
    main()
