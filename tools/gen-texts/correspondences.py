"""Traditional correspondences used to compose the interpretation texts.

Written for this project from the general doctrine of astrological medicine and
spagyrics: the planetary rulership of metals, organs, temperaments and plants, the
signs' elements, qualities and parts of the body (the zodiacal man), the houses and
their natural signs, the Chaldean faces, the triplicity decades, Ptolemy's humoral
quadrants. The wording is ours.
"""

# --- Bodies, index 1..11 in chart order -------------------------------------------
# Planet qualities: heat 'C' (cálido) or 'F' (frío) or None, moisture 'H' (húmedo),
# 'S' (seco) or None (Mercury takes the quality of where it stands).

BODIES = {
    1: dict(code4="Sole", tag3="Sol", code2="SO", name="Sol", art="el Sol", masc=True,
            metal="oro", day="domingo", heat="C", moist="S",
            theme="vitalidad", verb="irradia y ordena",
            organs="el corazón, la circulación y la vista",
            organs_short="el corazón y la circulación", organ1="el corazón", organ_word="corazón",
            excess="fiebre, presión alta y agotamiento del corazón",
            lack="falta de vitalidad, frío interior y desánimo",
            plants=["romero", "hipérico", "caléndula", "angélica", "eufrasia", "manzanilla"],
            caution=""),
    2: dict(code4="Luna", tag3="Lun", code2="LU", name="Luna", art="la Luna", masc=False,
            metal="plata", day="lunes", heat="F", moist="H",
            theme="humores", verb="nutre, recibe y regula",
            organs="el estómago, los líquidos del cuerpo y los ritmos",
            organs_short="el estómago y los líquidos", organ1="el estómago", organ_word="estómago",
            excess="retención de líquidos, linfa lenta y sueño pesado",
            lack="sequedad, irregularidad de ciclos y desvelo",
            plants=["melisa", "sauce", "nenúfar", "lechuga", "verdolaga", "artemisa"],
            caution=""),
    3: dict(code4="Merc", tag3="Mer", code2="ME", name="Mercurio", art="Mercurio", masc=True,
            metal="mercurio (azogue)", day="miércoles", heat=None, moist=None,
            theme="nervios", verb="comunica, coordina y transmite",
            organs="el sistema nervioso, los bronquios y las manos",
            organs_short="los nervios y los bronquios", organ1="los nervios", organ_word="nervios",
            excess="nerviosismo, insomnio y tos irritativa",
            lack="dispersión, torpeza y respiración corta",
            plants=["lavanda", "hinojo", "valeriana", "mejorana", "marrubio", "eneldo"],
            caution=""),
    4: dict(code4="Vene", tag3="Ven", code2="VE", name="Venus", art="Venus", masc=False,
            metal="cobre", day="viernes", heat=None, moist="H",
            theme="afecto", verb="une, suaviza y depura",
            organs="los riñones, la garganta, las venas y la piel",
            organs_short="los riñones y las venas", organ1="los riñones", organ_word="riñones",
            excess="congestión venosa, pesadez y exceso de azúcares",
            lack="piel seca, riñón perezoso y desequilibrio hormonal",
            plants=["milenrama", "alquimila", "malva", "violeta", "rosa", "saúco"],
            caution=""),
    5: dict(code4="Mart", tag3="Mar", code2="MA", name="Marte", art="Marte", masc=True,
            metal="hierro", day="martes", heat="C", moist="S",
            theme="energía", verb="impulsa, quema y defiende",
            organs="los músculos, la sangre roja, la vesícula biliar y la cabeza",
            organs_short="los músculos y la sangre", organ1="los músculos", organ_word="músculos",
            excess="inflamación, fiebre, cortes y cólera",
            lack="anemia, cansancio muscular y defensas bajas",
            plants=["ortiga", "ajo", "albahaca", "jengibre", "genciana", "ajenjo"],
            caution="El ajenjo, solo en dosis bajas y breves."),
    6: dict(code4="Giov", tag3="Gio", code2="GI", name="Júpiter", art="Júpiter", masc=True,
            metal="estaño", day="jueves", heat="C", moist="H",
            theme="expansión", verb="expande, asimila y protege",
            organs="el hígado, la sangre arterial y el metabolismo de las grasas",
            organs_short="el hígado y el metabolismo", organ1="el hígado", organ_word="hígado",
            excess="plétora, sobrepeso y congestión del hígado",
            lack="mala asimilación, pesimismo y sangre pobre",
            plants=["salvia", "diente de león", "agrimonia", "borraja", "cardo mariano", "hisopo"],
            caution=""),
    7: dict(code4="Satu", tag3="Sat", code2="SA", name="Saturno", art="Saturno", masc=True,
            metal="plomo", day="sábado", heat="F", moist="S",
            theme="estructura", verb="contrae, conserva y separa",
            organs="los huesos, los dientes, las articulaciones, el bazo y la piel",
            organs_short="los huesos y las articulaciones", organ1="los huesos", organ_word="huesos",
            excess="rigidez, estreñimiento, depósitos y tristeza",
            lack="desmineralización, falta de límites y debilidad de sostén",
            plants=["cola de caballo", "consuelda", "gordolobo", "fumaria", "ciprés", "bolsa de pastor"],
            caution="La consuelda, solo en uso externo."),
    8: dict(code4="NNor", tag3="Non", code2="NN", name="Nodo Norte", art="el Nodo Norte", masc=True,
            metal=None, day=None, heat=None, moist=None,
            theme="crecimiento", verb="abre y atrae",
            organs="las funciones que el cuerpo debe aprender a asimilar",
            organs_short="la asimilación", organ1="la asimilación", organ_word="asimilación",
            excess="avidez y sobrecarga", lack="", plants=[], caution=""),
    9: dict(code4="NSud", tag3="Nos", code2="NS", name="Nodo Sur", art="el Nodo Sur", masc=True,
            metal=None, day=None, heat=None, moist=None,
            theme="herencia", verb="suelta y elimina",
            organs="las funciones heredadas y las vías de eliminación",
            organs_short="la eliminación", organ1="la eliminación", organ_word="eliminación",
            excess="pérdida de fuerzas y hábitos repetidos", lack="", plants=[], caution=""),
    10: dict(code4="Asce", tag3="Asc", code2="AS", name="Ascendente", art="el Ascendente", masc=True,
             metal=None, day=None, heat=None, moist=None,
             theme="constitución", verb="da forma al cuerpo",
             organs="la constitución física y la primera reacción a la enfermedad",
             organs_short="la constitución", organ1="la constitución", organ_word="constitución",
             excess="", lack="", plants=[], caution=""),
    11: dict(code4="Mcie", tag3="Mci", code2="MC", name="Medio Cielo", art="el Medio Cielo", masc=True,
             metal=None, day=None, heat=None, moist=None,
             theme="dirección", verb="orienta la voluntad",
             organs="el gobierno consciente de la salud y los hábitos",
             organs_short="la voluntad", organ1="la voluntad", organ_word="voluntad",
             excess="", lack="", plants=[], caution=""),
}

PLANETS = range(1, 8)

# --- Signs 1..12 -------------------------------------------------------------------
# Principle as the program's constitution weave counts it: Sal (Aries-Cancer), Azufre
# (Leo-Scorpio), Mercurio (Sagittarius-Pisces).

ELEMENTS = {
    "Fuego": dict(heat="C", moist="S", humor="colérico", adj="ígneo", adj_f="ígnea", article="el"),
    "Tierra": dict(heat="F", moist="S", humor="melancólico", adj="terrestre", adj_f="terrestre", article="la"),
    "Aire": dict(heat="C", moist="H", humor="sanguíneo", adj="aéreo", adj_f="aérea", article="el"),
    "Agua": dict(heat="F", moist="H", humor="flemático", adj="acuoso", adj_f="acuosa", article="el"),
}

SIGNS = {
    1: dict(name="Aries", tag4="Arie", tag2="Ar", abbr="Ari", element="Fuego", quality="cardinal",
            principle="Sal", season="primavera", ruler=5, exalt=1,
            body="la cabeza y la cara", body_short="cabeza", body1="la cabeza",
            weak="cefaleas, fiebres súbitas e inflamaciones agudas",
            plants=["ortiga", "romero", "albahaca"],
            adj=["impetuosa", "ardiente", "pionera"]),
    2: dict(name="Tauro", tag4="Toro", tag2="To", abbr="Tau", element="Tierra", quality="fijo",
            principle="Sal", season="primavera", ruler=4, exalt=2,
            body="la garganta, el cuello y la tiroides", body_short="garganta", body1="la garganta",
            weak="anginas, ronquera y metabolismo lento",
            plants=["salvia", "malva", "tomillo"],
            adj=["constante", "serena", "sensual"]),
    3: dict(name="Géminis", tag4="Geme", tag2="Ge", abbr="Gém", element="Aire", quality="mutable",
            principle="Sal", season="primavera", ruler=3, exalt=None,
            body="los pulmones, los hombros, los brazos y las manos", body_short="pulmones y brazos", body1="los pulmones",
            weak="bronquitis, tos nerviosa y tensión en los hombros",
            plants=["marrubio", "hinojo", "lavanda"],
            adj=["cambiante", "ágil", "curiosa"]),
    4: dict(name="Cáncer", tag4="Canc", tag2="Cn", abbr="Cán", element="Agua", quality="cardinal",
            principle="Sal", season="verano", ruler=2, exalt=6,
            body="el estómago, el pecho y las mamas", body_short="estómago", body1="el estómago",
            weak="digestiones difíciles, acidez y retención de líquidos",
            plants=["melisa", "manzanilla", "malvavisco"],
            adj=["sensible", "protectora", "receptiva"]),
    5: dict(name="Leo", tag4="Leon", tag2="Le", abbr="Leo", element="Fuego", quality="fijo",
            principle="Azufre", season="verano", ruler=1, exalt=None,
            body="el corazón, la espalda y la columna", body_short="corazón y espalda", body1="el corazón",
            weak="palpitaciones, dolor de espalda y presión alta",
            plants=["espino albar", "hipérico", "caléndula"],
            adj=["generosa", "radiante", "orgullosa"]),
    6: dict(name="Virgo", tag4="Verg", tag2="Ve", abbr="Vir", element="Tierra", quality="mutable",
            principle="Azufre", season="verano", ruler=3, exalt=None,
            body="los intestinos y el sistema digestivo", body_short="intestinos", body1="los intestinos",
            weak="colon irritable, digestión nerviosa y fermentaciones",
            plants=["menta", "alcaravea", "hinojo"],
            adj=["analítica", "cuidadosa", "ordenada"]),
    7: dict(name="Libra", tag4="Bila", tag2="Bi", abbr="Lib", element="Aire", quality="cardinal",
            principle="Azufre", season="otoño", ruler=4, exalt=7,
            body="los riñones, la zona lumbar y la piel", body_short="riñones", body1="los riñones",
            weak="lumbago, riñón perezoso y desequilibrios de la piel",
            plants=["vara de oro", "abedul", "gayuba"],
            adj=["armoniosa", "conciliadora", "refinada"]),
    8: dict(name="Escorpio", tag4="Scor", tag2="Sc", abbr="Esc", element="Agua", quality="fijo",
            principle="Azufre", season="otoño", ruler=5, exalt=None,
            body="los órganos genitales, la vejiga y el recto", body_short="órganos genitales", body1="los órganos genitales",
            weak="infecciones urinarias, trastornos del ciclo y hemorroides",
            plants=["artemisa", "bolsa de pastor", "milenrama"],
            adj=["intensa", "profunda", "tenaz"]),
    9: dict(name="Sagitario", tag4="Sagi", tag2="Sa", abbr="Sag", element="Fuego", quality="mutable",
            principle="Mercurio", season="otoño", ruler=6, exalt=None,
            body="el hígado, las caderas y los muslos", body_short="hígado y caderas", body1="el hígado",
            weak="congestión del hígado, ciática y excesos de mesa",
            plants=["cardo mariano", "diente de león", "agrimonia"],
            adj=["expansiva", "entusiasta", "viajera"]),
    10: dict(name="Capricornio", tag4="Capr", tag2="Cp", abbr="Cap", element="Tierra", quality="cardinal",
             principle="Mercurio", season="invierno", ruler=7, exalt=5,
             body="los huesos, las rodillas, los dientes y la piel", body_short="huesos y rodillas", body1="los huesos",
             weak="rigidez articular, caries y piel seca",
             plants=["cola de caballo", "consuelda (uso externo)", "corteza de sauce"],
             adj=["contenida", "paciente", "austera"]),
    11: dict(name="Acuario", tag4="Acqu", tag2="Ac", abbr="Acu", element="Aire", quality="fijo",
             principle="Mercurio", season="invierno", ruler=7, exalt=None,
             body="la circulación, las pantorrillas y los tobillos", body_short="circulación y tobillos", body1="la circulación",
             weak="varices, calambres y nerviosismo repentino",
             plants=["castaño de Indias", "meliloto", "valeriana"],
             adj=["independiente", "inventiva", "imprevisible"]),
    12: dict(name="Piscis", tag4="Pesc", tag2="Pe", abbr="Pis", element="Agua", quality="mutable",
             principle="Mercurio", season="invierno", ruler=6, exalt=4,
             body="los pies, la linfa y las defensas", body_short="pies y linfa", body1="los pies",
             weak="edemas, defensas bajas y sensibilidad a los tóxicos",
             plants=["saúco", "bardana", "violeta"],
             adj=["receptiva", "compasiva", "soñadora"]),
}

# Essential dignities as the program's archetypal structure counts them.
DIGNITY = {
    1: dict(dom=[5], exalt=[1], exile=[11], fall=[7]),
    2: dict(dom=[4], exalt=[2], exile=[10], fall=[8]),
    3: dict(dom=[3, 6], exalt=[11], exile=[9, 12], fall=[5]),
    4: dict(dom=[2, 7], exalt=[12], exile=[1, 8], fall=[6]),
    5: dict(dom=[1, 8], exalt=[10], exile=[2, 7], fall=[4]),
    6: dict(dom=[9, 12], exalt=[4], exile=[3, 6], fall=[10]),
    7: dict(dom=[10, 11], exalt=[7], exile=[4, 5], fall=[1]),
}

# --- Houses 1..12 -------------------------------------------------------------------

ROMAN = ["", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"]

HOUSES = {
    1: dict(tag="Prim", theme="el cuerpo y la vitalidad", short="el cuerpo",
            health="la constitución y la fuerza de reacción"),
    2: dict(tag="Seco", theme="los recursos y la nutrición", short="los recursos",
            health="la nutrición y las reservas del cuerpo"),
    3: dict(tag="Terz", theme="los intercambios cercanos", short="los intercambios",
            health="la respiración y los nervios periféricos"),
    4: dict(tag="Quar", theme="las raíces y el hogar", short="las raíces",
            health="la herencia familiar y la digestión profunda"),
    5: dict(tag="Quin", theme="la creatividad y el placer", short="el placer",
            health="el corazón y la alegría de vivir"),
    6: dict(tag="Sest", theme="el trabajo diario y la salud", short="la salud diaria",
            health="las enfermedades agudas y los hábitos"),
    7: dict(tag="Sett", theme="la pareja y los otros", short="la pareja",
            health="el equilibrio de los riñones y los contagios"),
    8: dict(tag="Otta", theme="las crisis y la transformación", short="las crisis",
            health="la eliminación, las crisis y la regeneración"),
    9: dict(tag="Nona", theme="el pensamiento y los viajes", short="los viajes",
            health="el hígado y la confianza"),
    10: dict(tag="Deci", theme="la carrera y la posición", short="la vida pública",
             health="la estructura y el desgaste por exigencia"),
    11: dict(tag="Undi", theme="los amigos y los proyectos", short="los proyectos",
             health="la circulación y la vida en grupo"),
    12: dict(tag="Dodi", theme="lo oculto y el retiro", short="el retiro",
             health="las enfermedades crónicas y el descanso"),
}

HOUSE_KIND = {1: "angular", 4: "angular", 7: "angular", 10: "angular",
              2: "sucedente", 5: "sucedente", 8: "sucedente", 11: "sucedente",
              3: "cadente", 6: "cadente", 9: "cadente", 12: "cadente"}

# The houses where each planet "rejoices" in the tradition.
JOY = {3: 1, 2: 3, 4: 5, 5: 6, 1: 9, 6: 11, 7: 12}

# Ptolemy's quadrants, from the Ascendant against the daily motion: the houses between
# the Ascendant and the Midheaven (XII, XI, X) are moist and warm, and so on.
QUALITY_F = {"cardinal": "cardinal", "fijo": "fija", "mutable": "mutable"}
PRINCIPLE_ART = {"Sal": "la Sal", "Azufre": "el Azufre", "Mercurio": "el Mercurio"}

QUADRANT = {12: "sanguíneo", 11: "sanguíneo", 10: "sanguíneo",
            9: "colérico", 8: "colérico", 7: "colérico",
            6: "melancólico", 5: "melancólico", 4: "melancólico",
            3: "flemático", 2: "flemático", 1: "flemático"}

HUMOR = {
    "colérico": dict(q=("C", "S"), season="verano", fem="colérica",
                     balance_sg="fría y húmeda", balance_pl="frías y húmedas",
                     plants=["malva", "violeta", "lechuga"]),
    "sanguíneo": dict(q=("C", "H"), season="primavera", fem="sanguínea",
                      balance_sg="fría y seca", balance_pl="frías y secas",
                      plants=["bardana", "fumaria", "diente de león"]),
    "melancólico": dict(q=("F", "S"), season="otoño", fem="melancólica",
                        balance_sg="cálida y húmeda", balance_pl="cálidas y húmedas",
                        plants=["melisa", "borraja", "romero"]),
    "flemático": dict(q=("F", "H"), season="invierno", fem="flemática",
                      balance_sg="cálida y seca", balance_pl="cálidas y secas",
                      plants=["tomillo", "hisopo", "jengibre"]),
}

def humor_of(heat, moist):
    for name, h in HUMOR.items():
        if h["q"] == (heat, moist):
            return name
    return None

# --- Aspects ---------------------------------------------------------------------------

ASPECTS = {
    "Co": dict(name="conjunción", angle=0, noun="fusión", hard=None),
    "Se": dict(name="sextil", angle=60, noun="colaboración", hard=False),
    "Qu": dict(name="cuadratura", angle=90, noun="tensión", hard=True),
    "Tr": dict(name="trígono", angle=120, noun="armonía", hard=False),
    "Op": dict(name="oposición", angle=180, noun="polaridad", hard=True),
}
ASPECT_ORDER = ["Co", "Se", "Qu", "Tr", "Op"]

# Greatest separations the sky allows (degrees) and the widest orb a set may give; an
# aspect whose angle lies beyond separation + orb never occurs. The nodes are always
# exactly opposite.
MAX_ORB = 15
MAX_SEPARATION = {(1, 3): 28, (1, 4): 48, (3, 4): 76}


def aspect_possible(i, j, kind):
    angle = ASPECTS[kind]["angle"]
    if (i, j) == (8, 9):
        return kind == "Op"
    limit = MAX_SEPARATION.get((i, j))
    return limit is None or angle - MAX_ORB < limit


# Chaldean faces: Mars, Sun, Venus, Mercury, Moon, Saturn, Jupiter from the first decan
# of Aries.
FACES = [5, 1, 4, 3, 2, 7, 6]


def face_ruler(decan):
    return FACES[(decan - 1) % 7]


def sign_abbr(sign):
    return SIGNS[sign]["abbr"]
