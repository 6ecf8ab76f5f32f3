#!/usr/bin/env python3
"""Writes the seed corpora of fuzz/corpus from data/: small slices of the installed files and a
few hand-made records, each input laid out as its target reads it (fuzz/FuzzSupport.h)."""
import os, struct, subprocess, sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, 'data')
OUT = os.path.join(ROOT, 'fuzz', 'corpus')
SEP = b'|||'


def data(rel, limit=None):
    with open(os.path.join(DATA, rel), 'rb') as f:
        return f.read() if limit is None else f.read(limit)


def lines(rel, n):
    return b'\r\n'.join(data(rel).split(b'\r\n')[:n]) + b'\r\n'


def seed(target, name, *parts, head=b''):
    os.makedirs(os.path.join(OUT, target), exist_ok=True)
    with open(os.path.join(OUT, target, name), 'wb') as f:
        f.write(head + SEP.join(parts))


def field(text, cap):
    text = text[:cap]
    return bytes([len(text)]) + text + b'\0' * (cap - len(text))


def index_entry(text):
    return field(text, 43)


def birth_record(stamp, place, cal, country=b'ITALIA', notes=b'00000'):
    caps = [20, 39, 2, 20, 72, 60, 124, 21, 12, 5]
    vals = [stamp, place, cal, country, b'So 00Ar00', b'', b'', b'', b'', notes]
    return b''.join(field(v, c) for v, c in zip(vals, caps))


def notes_record(lines4):
    return b''.join(field(l, 70) for l in lines4)


HEADER = b'0 Registro vuoto......................00000'


def archive():
    st1 = index_entry(HEADER) + index_entry(b'ROSSI MARIO'.ljust(38) + b'00001') + \
        index_entry(b'VERDI ANNA'.ljust(38) + b'00002')
    st2 = birth_record(b' ', b' ', b' ', b' ', b'     ') + \
        birth_record(b'199003211430-1', b'41N54-012E29ROMA', b'GR', notes=b'00001') + \
        birth_record(b'158210101200+0,83', b'45N28-009E11MILANO', b'GI')
    st3 = notes_record([b' '] * 4) + notes_record([b'Primera nota', b'', b'', b''.ljust(64) + b'00007'])
    seed('archive', 'three-subjects', st1, st2, st3, b'', b'ROSSI', head=b'\0')
    seed('archive', 'no-index', st1, st2, st3, b'', b'V', head=b'\x01')
    # The journal of a rewrite cut short: the old bytes of record 1 and their checksum.
    jnl = b'ATHJNL1\n' + struct.pack('<QQ', 385, 385) + st2[385:770]
    h = 1469598103934665603
    for b in jnl:
        h = ((h ^ b) * 1099511628211) % (1 << 64)
    jnl += struct.pack('<Q', h)
    seed('archive', 'journal', st1, st2, st3, jnl, b'VERDI', head=b'\x04')


def current():
    st1 = index_entry(b'ROSSI MARIO'.ljust(38) + b'00001')
    st2 = birth_record(b'199003211430-1', b'41N54-012E29ROMA', b'GR')
    handoff = b'\r\n'.join([b'ROSSI MARIO', b'199003211430-1', b'41N54-012E29ROMA', b'PLACIDO',
                            b' 2.44796210416667E+0006'] + [b' 1.00000000000000E+0001'] * 34) + b'\r\n'
    seed('current', 'rome-1990', st1, st2, handoff, b'BASE\r\n00007\r\n', b'Nota\r\n', b'BASE\r\nRICE\r\n',
         head=b'\x03')
    seed('current', 'julian', st1, birth_record(b'150001010000+0,83', b'45N28-009E11MILANO', b'GI'), handoff,
         b'', b'', b'', head=b'\x01')


def corrections():
    for which, rel, size in [(0, 'FilePosi/DSEL.rnd', 2048), (1, 'FilePosi/DPR1.rnd', 2048),
                             (2, 'FilePosi/NOJLNE.rnd', 2048), (3, 'FilePosi/DSUP.rnd', 1024)]:
        seed('corrections', os.path.basename(rel), data(rel, size),
             head=bytes([which, 8]) + struct.pack('<HH', 7, 30000))


def localities():
    for kind, rel in [(0, 'Localita/ITALIA.LOC'), (1, 'Localita/ESTERO.LOC')]:
        seed('localities', os.path.basename(rel), b'A', data(rel, 88 * 30), head=bytes([kind]))


def timezones():
    italy = data('Calendar/00000001.CAL', 24 * 60)
    cll = data('Calendar/Database.cll', 24 * 40)
    index = lines('Calendar/Elencal.002', 4).replace(b'00001001', b'00000001', 1)
    seed('timezones', 'italian', italy, b'', b'', b'', head=b'\x02' + struct.pack('<H', 450) + b'\x02\x0a\x0e\x1e')
    seed('timezones', 'foreign', b'', b'', index, cll, head=b'\x01' + struct.pack('<H', 300) + b'\x05\x03\x08\x00')
    rich = italy[:48] + struct.pack('<d', 0)  # replaced below with a continuation record
    cont = bytearray(italy[:72])
    cont[48:72] = b'\0' * 10 + b'\x04RICH\0' + struct.pack('<d', 0)
    # 80-bit 2.0 as the number of the next table.
    cont[48:58] = struct.pack('<QH', 0x8000000000000000, 0x4000)
    seed('timezones', 'continued', bytes(cont), italy, b'', b'', head=b'\x00' + struct.pack('<H', 460) + b'\x06\x01\x00\x00')


def settings():
    general = b'\r\n'.join([b'1', b'0', b'0', b'1', b' 1.00000000000000E+0000', b'Da definire',
                            b' 1.00000000000000E+0000', b' 1.00000000000000E+0000']) + b'\r\n'
    seed('settings', 'installed', general, data('FileSet/OrbiDomi.Stt'), data('FileDum/MMVarOrb.dum'),
         data('Appoggio/Appoggio1.txt'), head=b'\x01')
    seed('settings', 'switch-b', general, data('FileSet/OrbiDomi.Stt'), data('FileDum/MMVarOrb.dum'), b'',
         head=b'\x06')


def knowledge():
    db = data('OpzioneH/DBmain.rnd', 4814 * 2)
    rep = data('OpzioneH/Repertorio.rnd', 1206 * 3)
    qvl = data('OpzioneS/DataQvl.rnd', 599 * 4)
    plants = data('OpzioneS/Piante.rnd', 21 * 6)
    symptoms = data('OpzioneS/Sintomi.rnd', 101 * 4)
    name = db[4814 + 1:4814 + 1 + db[4814]]
    seed('knowledge', 'symptom', name, db, rep, qvl, plants, symptoms, head=b'\0')
    seed('knowledge', 'statistics', b'', db[:4814], rep[:1206], qvl[:599], b'', b'', head=b'\x0c')
    seed('knowledge', 'therapy', rep[1206 + 1:1206 + 1 + rep[1206]], b'', rep, b'', b'', b'', head=b'\1')
    seed('knowledge', 'plant', b'Tos', b'', b'', qvl, plants, symptoms, head=b'\2')
    seed('knowledge', 'signature', b'Marte', db, b'', b'', b'', b'', head=b'\3')


def lists():
    seed('lists', 'installed', lines('OpzioneH/Sintomi.txt', 15), lines('OpzioneH/ProdotA.txt', 15),
         lines('OpzioneH/ProdotB.txt', 15), lines('OpzioneH/Patolog.txt', 15), b'1\r\n2\r\nx\r\n',
         data('OpzioneH/RicCom.Rnd', 52 * 5), data('OpzioneH/DBmain.rnd', 4814 * 2), head=b'\x01')


def texts():
    seed('texts', 'installed', lines('OpzioneT/PosiSegn.Txt', 12), lines('OpzioneT/SpgPianSpe.Txt', 12),
         lines('OpzioneT/SpgPian.txt', 12), lines('OpzioneT/SpgSegnSpe.txt', 12), lines('OpzioneT/SpgSegni.txt', 12),
         lines('Appoggio/Messaggi.txt', 20), lines('Appoggio/GoverAnno.txt', 8), head=b'\x00\x00\x5a')


def emf():
    for rel in ['Zodiaco/SegM01.emf', 'Simboli/ElFuo1.emf', 'Simboli/PiaX01.emf']:
        seed('emf', os.path.basename(rel), data(rel))


def jpeg():
    # Made with ImageMagick (scripts/bootstrap --fuzz installs it).
    out = os.path.join(OUT, 'jpeg')
    os.makedirs(out, exist_ok=True)
    subprocess.run(['convert', os.path.join(DATA, 'Banner.jpg'), '-resize', '24x24', '-quality', '60',
                    os.path.join(out, 'banner-small.jpg')], check=True)
    subprocess.run(['convert', os.path.join(DATA, 'Banner.jpg'), '-resize', '16x16', '-interlace', 'JPEG',
                    os.path.join(out, 'progressive.jpg')], check=True)


def csv():
    bom = b'\xef\xbb\xbf'
    def row(*cells):
        return b','.join(b'"' + c.replace(b'"', b'""') + b'"' for c in cells) + b'\r\n'
    db = bom + row(b'remedio', b'posologia', b'indicacion', b'sintesis', b'signatura_primaria',
                   b'signatura_secundaria', b'signatura_zodiacal', b'advertencias', b'notas', b'notas_adicionales') + \
        row(b'HS 8 - Ortica', b'10 gotas', b'Anemia', b'S\xc3\xadntesis "larga"', b'Marte', b'Sol', b'Aries',
            b'', b'', b'')
    rep = bom + row(b'patologia', b'posologia', b'remedio', b'notas') + row(b'Anemia', b'10 gotas', b'HS 8 - Ortica', b'')
    qvl = bom + row(b'sintoma', b'planta', b'codigo', b'signatura_primaria', b'signatura_secundaria',
                    b'signatura_zodiacal', b'sintesis', b'autores', b'nota') + \
        row(b'Tos', b'Tomillo', b'T1', b'Marte', b'Sol', b'Aries', b'', b'Culpeper', b'')
    seed('csv', 'valid', db, rep, qvl, head=b'\x00')
    seed('csv', 'valid-import', db, rep, qvl, head=b'\x01')


def cli():
    z = b'\0'
    seed('cli', 'jd', z.join([b'jd', b'--date', b'21/03/1990', b'--time', b'14:30']))
    seed('cli', 'date', z.join([b'date', b'--jd', b'2451545.25', b'--julian']))
    seed('cli', 'chart', z.join([b'chart', b'--stamp', b'199003211430-1', b'--coord', b'41N54-012E29',
                                 b'--calendar', b'GI', b'--correction', b'+5,5']))


if __name__ == '__main__':
    for make in [archive, current, corrections, localities, timezones, settings, knowledge, lists, texts, emf,
                 jpeg, csv, cli]:
        make()
