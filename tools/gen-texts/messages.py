"""Sections of Appoggio/Messaggi.txt, the explanations the analysis window shows beside
each view. A section is the text between two lines that contain '#'; the section text
itself must never contain one. One paragraph per line: the window wraps them."""

SECTIONS = {
    1: ("Apertura", [
        "MODELO PROPEDÉUTICO INTERACTIVO",
        "Se muestra la carta natal del sujeto actual. Los botones de la derecha recorren los "
        "análisis: cada pulsación de un botón pasa a la vista siguiente del mismo análisis, y "
        "este panel explica lo que se ve.",
        "Un clic sobre un planeta o un signo de la rueda abre sus atribuciones; los clics "
        "siguientes muestran las plantas o los remedios relacionados y sus antiscios. El "
        "planeta y el signo elegidos forman la signatura de la búsqueda de remedios.",
        "La hora planetaria del nacimiento ya está calculada: puede verse con «Maestros».",
    ]),
    2: ("Coordenadas: longitudes relativas", [
        "LONGITUDES RELATIVAS",
        "La tabla da la posición de cada cuerpo dentro de su signo, en grados y minutos, con "
        "la marca de los retrógrados.",
        "Debajo, tres listas. TÉRMINOS: sectores de 6° contados desde 15° antes del "
        "Ascendente, que sitúan cada cuerpo respecto al horizonte y a las casas. DECANOS: "
        "caras de 10° de cada signo, regidas por los planetas en orden caldeo. DÉCADAS: los "
        "mismos tercios del signo, matizados por los signos de su elemento.",
        "Cada línea resume la atribución del cuerpo en esa división; el clic sobre el cuerpo "
        "da el texto completo.",
    ]),
    3: ("Coordenadas: longitudes absolutas", [
        "LONGITUDES ABSOLUTAS",
        "Posición de cada cuerpo medida de 0° a 360° desde el punto vernal, el comienzo de "
        "Aries.",
        "Con ellas se comprueban a mano las distancias entre planetas, el antiscio (360° "
        "menos la longitud), el contrantiscio (180° menos la longitud) y la dodecatemoria.",
    ]),
    4: ("Coordenadas: latitudes", [
        "LATITUDES",
        "Distancia de cada cuerpo al norte o al sur de la eclíptica, el camino del Sol.",
        "Una latitud grande aleja al planeta de los demás aunque la longitud sea parecida: "
        "sus conjunciones y aspectos aparentes son entonces más débiles. Los nodos, el "
        "Ascendente y el Medio Cielo tienen latitud cero.",
    ]),
    5: ("Tela elemental", [
        "TELA ELEMENTAL (nivel psicosomático)",
        "Cuenta los siete planetas tradicionales según el elemento de su signo —fuego, "
        "tierra, aire y agua: voluntad, cuerpo, pensamiento y sentimiento— y según el "
        "principio alquímico —sal, azufre y mercurio: instinto, persona y colectividad—.",
        "Las casillas llenas muestran por dónde se expresa la constitución; los vacíos, lo "
        "que falta y conviene aportar con remedios del elemento o del principio ausente.",
    ]),
    6: ("Atribución humoral elemental", [
        "ATRIBUCIÓN HUMORAL (elemental)",
        "De los elementos nacen las cuatro cualidades: caliente (aire y fuego), húmedo (aire "
        "y agua), frío (agua y tierra) y seco (fuego y tierra).",
        "Las dos cualidades que predominan dan el temperamento: sanguíneo (caliente y "
        "húmedo), colérico (caliente y seco), melancólico (frío y seco) o flemático (frío y "
        "húmedo). El remedio busca las cualidades contrarias a las que sobran.",
    ]),
    7: ("Tela estacional", [
        "TELA ESTACIONAL (nivel somatopsíquico)",
        "Los planetas se cuentan por la estación de su signo y por su modo: cardinal "
        "(trópicos, inicia), fijo (sólidos, mantiene) y mutable (bicorporal, adapta).",
        "Muestra el ritmo con que responde el cuerpo: crisis agudas si domina lo cardinal, "
        "tendencia a cronificar si domina lo fijo, síntomas cambiantes si domina lo mutable.",
    ]),
    8: ("Atribución humoral estacional", [
        "ATRIBUCIÓN HUMORAL (estacional)",
        "Las estaciones se leen como elementos: primavera aire, verano fuego, otoño tierra, "
        "invierno agua.",
        "Compárese con la tabla elemental: cuando coinciden, el temperamento es claro; "
        "cuando difieren, el plano del cuerpo (estacional) y el de la psique (elemental) "
        "piden remedios distintos.",
    ]),
    9: ("Estructura arquetípica", [
        "ESTRUCTURA ARQUETÍPICA",
        "Encabezan las columnas los planetas con dignidad o debilidad esencial (domicilio, "
        "exaltación, exilio, caída) y los que están en recepción mutua; debajo de cada uno, "
        "los planetas que dispone, es decir, los que están en sus signos.",
        "Un planeta con muchos dependientes gobierna la carta. Uno en exilio o en caída que "
        "dispone de otros señala un punto débil: conviene sostenerlo con su metal y sus "
        "plantas. Un clic sobre un planeta de la estructura abre sus textos.",
    ]),
    10: ("Panel de aspectos", [
        "ASPECTOS PLANETARIOS",
        "El panel lista los aspectos mayores —conjunción, sextil, cuadratura, trígono y "
        "oposición— con su distancia al aspecto exacto: cuanto menor el número, más fuerte "
        "el aspecto.",
        "Los aspectos armónicos (sextil, trígono) unen funciones que colaboran; los tensos "
        "(cuadratura, oposición), órganos que se desequilibran entre sí; la conjunción funde "
        "las dos naturalezas.",
    ]),
    11: ("Afinidades magnéticas", [
        "AFINIDADES ENERGÉTICAS: MAGNÉTICAS",
        "Las cuerdas unen parejas de signos que se atraen y se intercambian energía, como "
        "los polos de un imán.",
        "Los planetas situados en signos unidos por una cuerda se apoyan aunque no formen "
        "aspecto, y los remedios de uno de esos signos ayudan también al otro.",
    ]),
    12: ("Afinidades soli-lunares", [
        "AFINIDADES ENERGÉTICAS: SOLI-LUNARES",
        "Las cuerdas punteadas unen parejas de signos en relación solar y lunar: una parte "
        "activa, que da, y otra receptiva, que recibe.",
        "Indican por dónde circula la energía entre las zonas del cuerpo que gobiernan esos "
        "signos.",
    ]),
    13: ("Afinidades: las dos redes", [
        "AFINIDADES ENERGÉTICAS",
        "Las dos redes juntas: magnéticas (línea continua) y soli-lunares (punteada).",
        "Un signo unido por las dos redes a signos ocupados recibe apoyo por dos vías; uno "
        "sin uniones ocupadas depende solo de sus propios planetas.",
    ]),
    14: ("Antiscia", [
        "ANTISCIA",
        "Las cuerdas azul claro unen cada signo con su reflejo respecto al eje Aries-Libra: "
        "Piscis y Aries, Acuario y Tauro, Capricornio y Géminis, Sagitario y Cáncer, "
        "Escorpio y Leo, Libra y Virgo.",
        "Un planeta proyecta su influjo sobre el grado reflejado: lo que allí se encuentre lo "
        "recibe como una conjunción discreta, de carácter amable.",
    ]),
    15: ("Contrantiscia", [
        "CONTRANTISCIA",
        "Las cuerdas rojas unen los signos reflejados respecto al eje Cáncer-Capricornio: "
        "Cáncer y Géminis, Leo y Tauro, Virgo y Aries, Libra y Piscis, Escorpio y Acuario, "
        "Sagitario y Capricornio.",
        "El reflejo actúa como una oposición velada y descubre tensiones que no se ven a "
        "primera vista.",
    ]),
    16: ("Antiscia y contrantiscia", [
        "ANTISCIA Y CONTRANTISCIA",
        "Las dos redes juntas: cada signo tiene un espejo de cada tipo.",
        "Relacionan zonas del cuerpo lejanas en el zodíaco; cuando un síntoma aparece en una "
        "zona, conviene mirar también la zona reflejada.",
    ]),
    17: ("Cuadriláteros de los reflejos", [
        "LOS TRES CUADRILÁTEROS",
        "Cada cuadrilátero reúne un signo con su antiscio y su contrantiscio: amarillo "
        "Aries, Piscis, Libra y Virgo; azul claro Cáncer, Géminis, Capricornio y Sagitario; "
        "rojo Leo, Escorpio, Acuario y Tauro.",
        "Los signos de un mismo cuadrilátero están a igual distancia de los ejes de "
        "equinoccios y solsticios: sus órganos resuenan entre sí.",
    ]),
    18: ("Dodecatemorias", [
        "DODECATEMORIAS (en el círculo interior)",
        "La dodecatemoria de un cuerpo se obtiene sumando a su longitud doce veces los grados "
        "que ocupa dentro de su signo: cada 2°30' recorridos en el signo la desplazan un signo "
        "entero.",
        "Muestra la cualidad oculta de cada planeta, el matiz secreto de su acción. Las "
        "listas dan los términos, decanos y décadas de esas posiciones.",
    ]),
    19: ("Potencias planetarias", [
        "POTENCIAS PLANETARIAS (según Tarquell)",
        "Las barras dan la puntuación de los diez cuerpos, del Sol a Plutón, según el método "
        "del regente de la natividad: afinidad con el signo ascendente, valor en su propio "
        "signo, zonas tradicionales, lugar dentro de la casa, afinidad con la casa, signo "
        "masculino o femenino y velocidad se suman en un total.",
        "La barra más alta señala el planeta dominante, cuyo metal y cuyas plantas orientan "
        "el remedio de fondo. Una barra roja indica una puntuación negativa: una fuerza que "
        "conviene sostener.",
    ]),
    20: ("Regente de la natividad", [
        "REGENTE DE LA NATIVIDAD",
        "El regente de la natividad es el cuerpo que reúne la puntuación más alta. Su "
        "naturaleza indica el temperamento de fondo y el tipo de remedio que la persona "
        "tolera mejor; el cálculo se hace siempre con casas Plácidus.",
    ]),
    21: ("Datos del sujeto", [
        "DATOS DEL SUJETO",
        "El panel muestra nombre, fecha, hora, lugar, coordenadas, sistema de casas, tipo de "
        "nodo y día juliano de la carta en estudio. Si algún dato no es correcto, vuelva al "
        "menú y corríjalo antes de interpretar.",
    ]),
    22: ("Maestros de Ascendente, Medio Cielo y hora", [
        "MAESTROS DEL ASCENDENTE, DEL MEDIO CIELO Y DE LA HORA",
        "La hora planetaria divide el día (de la salida a la puesta del Sol) y la noche en "
        "doce horas desiguales cada uno, regidas por los planetas en orden caldeo.",
        "El regente de la hora del nacimiento, el del signo ascendente y el del Medio Cielo "
        "son los tres maestros personales: sus días y sus horas son los más favorables para "
        "preparar y tomar los remedios de la persona.",
    ]),
    23: ("Maestros del año y del ciclo", [
        "MAESTROS DEL AÑO Y DEL CICLO",
        "Cada año está regido por un planeta dentro de un ciclo de 36 años regido a su vez "
        "por otro. El año astrológico empieza cuando el Sol entra en Aries: quien nace antes "
        "del equinoccio pertenece al año anterior.",
        "Estos maestros dan el fondo común de la generación y matizan la constitución del "
        "año de nacimiento.",
    ]),
    24: ("Lista de aspectos", [
        "LISTA DE ASPECTOS",
        "La lista sola, sin el dibujo de las líneas: cada aspecto mayor con su distancia al "
        "exacto.",
        "Empiece por los números más pequeños: son los aspectos más precisos y los que más "
        "pesan en la salud.",
    ]),
    25: ("Aspectos y órbitas", [
        "ASPECTOS Y ÓRBITAS (en la eclíptica)",
        "La cuadrícula da cada pareja de cuerpos con el símbolo del aspecto, mayor o menor "
        "(semisextil, semicuadratura, quintil, sesquicuadratura, biquintil, quincuncio), y "
        "los grados que faltan para el exacto.",
        "Los aspectos menores señalan influencias finas, útiles para afinar la elección de "
        "las plantas.",
    ]),
    26: ("Distancias esféricas", [
        "DISTANCIAS ESFÉRICAS",
        "Distancia real entre los cuerpos sobre la esfera, teniendo en cuenta la latitud. "
        "Rojo: distancia tensa (cuadratura u oposición); azul claro: armónica (sextil o "
        "trígono); amarillo: conjunción; gris: sin aspecto.",
        "Cuando la distancia esférica se aparta de la eclíptica, el aspecto es más débil de "
        "lo que parece en la rueda.",
    ]),
    27: ("Órbitas", [
        "ÓRBITAS",
        "La tolerancia de cada aspecto depende del juego de órbitas elegido en el menú: A "
        "(normales) o los juegos personales B y C. Órbitas amplias muestran más aspectos, "
        "pero más débiles.",
    ]),
    28: ("Textos del planeta", [
        "ATRIBUCIONES DEL PLANETA",
        "Arriba, las atribuciones específicas: el signo, la casa, el sector, el decano, la "
        "década, los antiscios y los aspectos de este cuerpo en la carta. Abajo, las "
        "atribuciones generales: metal, órganos, temperamento y plantas.",
        "Otro clic sobre el mismo cuerpo muestra las plantas o los remedios asociados.",
    ]),
    29: ("Plantas o remedios del planeta", [
        "PLANTAS Y REMEDIOS DEL PLANETA",
        "La lista reúne los remedios (o las plantas, en el modo de consulta de plantas) cuya "
        "signatura contiene este planeta.",
        "Elija uno para ver los síntomas que trata y su descripción; las flechas recorren la "
        "lista. Otro clic sobre el cuerpo cierra el panel.",
    ]),
    30: ("Antiscios del planeta", [
        "ANTISCIOS DEL PLANETA",
        "Sobre la rueda se marcan el antiscio y el contrantiscio del planeta elegido.",
        "Los cuerpos cercanos a esos puntos están en relación oculta con él: afinidad en el "
        "antiscio, tensión en el contrantiscio.",
    ]),
    31: ("Textos del signo", [
        "ATRIBUCIONES DEL SIGNO",
        "Arriba, las relaciones específicas del signo por antiscio y contrantiscio. Abajo, "
        "las atribuciones generales: elemento, modo, temperamento, regente, zonas del cuerpo "
        "y plantas.",
        "Otro clic sobre el signo muestra las plantas o los remedios asociados.",
    ]),
    32: ("Plantas o remedios del signo", [
        "PLANTAS Y REMEDIOS DEL SIGNO",
        "La lista reúne los remedios (o las plantas, en el modo de consulta de plantas) cuya "
        "signatura zodiacal contiene este signo.",
        "Elija uno para ver los síntomas que trata y su descripción. Otro clic sobre el "
        "signo cierra el panel.",
    ]),
    33: ("Antiscios del signo", [
        "ANTISCIOS DEL SIGNO",
        "Se marcan sobre la rueda los reflejos del signo elegido: su antiscio, respecto al "
        "eje Aries-Libra, y su contrantiscio, respecto al eje Cáncer-Capricornio.",
        "Las zonas del cuerpo de los signos reflejados resuenan con las del signo elegido.",
    ]),
    34: ("Búsqueda por signatura", [
        "BÚSQUEDA POR SIGNATURA",
        "Se buscan los remedios cuya signatura contiene el planeta y el signo elegidos con "
        "un clic en la rueda; «Cualquier» significa sin condición.",
        "Primera pulsación: los remedios. Segunda: las patologías que esos remedios tratan "
        "según el repertorio de terapias.",
        "Para cambiar el criterio, pulse el nombre del planeta o del signo: vuelve a "
        "«Cualquier», y elija otro en la rueda.",
    ]),
}


def lines():
    out = []
    for n in sorted(SECTIONS):
        title, paragraphs = SECTIONS[n]
        out.append(f"#{n:02d} {title}")
        for i, p in enumerate(paragraphs):
            if "#" in p:
                raise ValueError(f"section {n}: '#' inside the text")
            out.append(p)
            # The first paragraph is the view's title; the others are set apart.
            if 0 < i < len(paragraphs) - 1:
                out.append("")
    out.append("#FIN")
    return out
