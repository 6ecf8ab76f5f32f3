"""General attributions of the bodies (SpgPian.txt) and the practitioner's note of each
sign (end of its block in SpgSegni.txt). One paragraph per string; the generator wraps
them into lines."""

BODY_TEXTS = {
    1: [
        "El Sol es el centro vital de la carta: gobierna el corazón, la circulación de la "
        "sangre, la vista y la columna que sostiene el cuerpo.",
        "Naturaleza cálida y seca, moderada. Anima el espíritu vital que llega a todos los "
        "órganos. Su metal es el oro, imagen de lo que no se corrompe, y su día el domingo.",
        "Un Sol fuerte da resistencia, buena temperatura y pronta recuperación. Débil o "
        "afligido, muestra cansancio, frío interior, desánimo o un corazón que se fatiga; en "
        "exceso, fiebre, presión alta e inflamación de los ojos.",
        "Plantas solares: romero, hipérico, caléndula, angélica, eufrasia, manzanilla y "
        "azafrán; flores luminosas y aromas cálidos que tonifican y reconfortan.",
        "Las tinturas solares se preparan o se comienzan en domingo, mejor en la hora del "
        "Sol, para devolver calor y centro a la persona.",
        "Signos: Leo es su domicilio y Aries su exaltación; sufre en Acuario (exilio) y en "
        "Libra (caída).",
    ],
    2: [
        "La Luna recoge y reparte: gobierna el estómago, los pechos, el útero, la linfa y "
        "todos los líquidos del cuerpo, y los ritmos del sueño, el apetito y la fertilidad.",
        "Naturaleza fría y húmeda, flemática. Su metal es la plata, que devuelve la luz como "
        "la Luna devuelve la del Sol; su día, el lunes.",
        "Una Luna armónica da buena digestión, sueño reparador y capacidad de adaptación. "
        "Afligida, retención de líquidos, ciclos irregulares, digestiones lentas y humor "
        "cambiante. Por su rapidez marca el curso de las enfermedades agudas.",
        "Plantas lunares: melisa, sauce, nenúfar, lechuga, verdolaga y artemisa; plantas de "
        "agua o de hoja jugosa, frescas y calmantes.",
        "Sus preparados se comienzan en lunes y siguen las fases: la creciente favorece lo "
        "que nutre, la menguante lo que depura.",
        "Signos: Cáncer es su domicilio y Tauro su exaltación; sufre en Capricornio (exilio) "
        "y en Escorpio (caída).",
    ],
    3: [
        "Mercurio es el mensajero: gobierna el sistema nervioso, los bronquios en su función "
        "de intercambio, la lengua, las manos y la coordinación de los movimientos.",
        "Su naturaleza es mudable: toma las cualidades del signo y de los planetas que lo "
        "aspectan, y por sí mismo tiende a lo seco. Su metal es el azogue y su día el "
        "miércoles.",
        "Bien dispuesto da agilidad mental, buena respiración y destreza. Afligido, "
        "nerviosismo, insomnio, tos seca, tics y dispersión.",
        "Plantas mercuriales: lavanda, hinojo, valeriana, mejorana, marrubio y eneldo; hojas "
        "finas y aromáticas que ordenan los nervios y la respiración.",
        "En espagiria el azogue representa lo volátil de toda planta, el espíritu que la "
        "destilación separa. Sus preparados se inician en miércoles.",
        "Signos: Géminis y Virgo son sus domicilios, Acuario su exaltación; sufre en "
        "Sagitario y Piscis (exilio) y en Leo (caída).",
    ],
    4: [
        "Venus une y armoniza: gobierna los riñones, la garganta, las venas, la piel y el "
        "equilibrio hormonal, y con ellos la belleza y el bienestar.",
        "Naturaleza templada y húmeda; es la benéfica menor. Su metal es el cobre, buen "
        "conductor, y su día el viernes.",
        "Fuerte, da buena filtración renal, piel sana y alegría. Afligida, congestión venosa, "
        "exceso de dulces, retención, trastornos de la piel y de la garganta.",
        "Plantas venusinas: milenrama, alquimila, malva, violeta, rosa, saúco y tomillo; "
        "flores perfumadas y hojas suaves que calman y depuran con dulzura.",
        "Sus preparados se inician en viernes y acompañan de modo especial el ciclo femenino "
        "y la depuración por la orina.",
        "Signos: Tauro y Libra son sus domicilios, Piscis su exaltación; sufre en Aries y "
        "Escorpio (exilio) y en Virgo (caída).",
    ],
    5: [
        "Marte es la fuerza que actúa y defiende: gobierna los músculos, la sangre roja, la "
        "vesícula biliar, los órganos genitales masculinos y la cabeza, y dirige la fiebre "
        "con que el cuerpo combate.",
        "Naturaleza cálida y muy seca, colérica; es el maléfico menor. Su metal es el hierro "
        "y su día el martes.",
        "Bien dispuesto da vigor, valor y defensas rápidas. Afligido, inflamaciones, fiebres "
        "altas, heridas, irritabilidad y cólera; débil, anemia y falta de empuje.",
        "Plantas marciales: ortiga, ajo, albahaca, jengibre, genciana y ajenjo; picantes, "
        "espinosas o amargas, estimulan y fortalecen. El ajenjo, solo en dosis bajas y "
        "breves.",
        "Sus preparados se inician en martes; la ortiga, rica en hierro, es su remedio más "
        "seguro y de uso más amplio.",
        "Signos: Aries y Escorpio son sus domicilios, Capricornio su exaltación; sufre en "
        "Tauro y Libra (exilio) y en Cáncer (caída).",
    ],
    6: [
        "Júpiter expande y protege: gobierna el hígado, la sangre arterial, la asimilación de "
        "los alimentos y el metabolismo de las grasas, y con ellos el crecimiento.",
        "Naturaleza cálida y húmeda, sanguínea; es el benéfico mayor. Su metal es el estaño y "
        "su día el jueves.",
        "Bien dispuesto da buena nutrición, optimismo y resistencia. Afligido, plétora, "
        "sobrepeso, congestión del hígado y excesos de todo tipo; débil, mala asimilación.",
        "Plantas jupiterianas: salvia, diente de león, agrimonia, borraja, cardo mariano e "
        "hisopo; plantas generosas que sostienen el hígado y la sangre.",
        "Sus preparados se inician en jueves y acompañan bien las curas depurativas de "
        "primavera.",
        "Signos: Sagitario y Piscis son sus domicilios, Cáncer su exaltación; sufre en "
        "Géminis y Virgo (exilio) y en Capricornio (caída).",
    ],
    7: [
        "Saturno da forma y límite: gobierna los huesos, los dientes, las articulaciones, la "
        "piel como frontera, el bazo y los procesos lentos del envejecimiento.",
        "Naturaleza fría y seca, melancólica; es el maléfico mayor. Su metal es el plomo y su "
        "día el sábado.",
        "Bien dispuesto da estructura, paciencia y resistencia. Afligido, rigidez, depósitos, "
        "estreñimiento, enfermedades crónicas y tristeza; débil, falta de sostén y "
        "desmineralización.",
        "Plantas saturninas: cola de caballo, consuelda (solo uso externo), gordolobo, "
        "fumaria, ciprés y bolsa de pastor; plantas austeras, astringentes o longevas.",
        "Sus preparados se inician en sábado y piden tiempo: maceraciones largas y tomas "
        "constantes.",
        "Signos: Capricornio y Acuario son sus domicilios, Libra su exaltación; sufre en "
        "Cáncer y Leo (exilio) y en Aries (caída).",
    ],
    8: [
        "El Nodo Norte, cabeza del Dragón, es el punto donde la Luna cruza la eclíptica "
        "subiendo hacia el norte. No es un cuerpo: señala una dirección.",
        "La tradición le atribuye la naturaleza de Júpiter y Venus: aumenta y atrae lo que "
        "toca. Indica lo que la persona necesita asimilar y desarrollar.",
        "En salud muestra las funciones que conviene nutrir y fortalecer; su signo indica la "
        "zona del cuerpo implicada y su casa, el ámbito de la vida.",
        "Se lee siempre junto al Nodo Sur, que ocupa el punto opuesto.",
    ],
    9: [
        "El Nodo Sur, cola del Dragón, es el punto opuesto al Nodo Norte, donde la Luna "
        "cruza la eclíptica bajando hacia el sur.",
        "La tradición le atribuye la naturaleza de Saturno y Marte: resta y descarga. Indica "
        "lo heredado, lo que ya se sabe hacer y tiende a repetirse.",
        "En salud señala las vías de eliminación y los hábitos que agotan; su signo indica "
        "la zona donde se descargan las tensiones.",
        "Trabajar con él es depurar y soltar, sin olvidar nutrir lo que pide el Nodo Norte.",
    ],
    10: [
        "El Ascendente es el grado del zodíaco que sube por el horizonte oriental en el "
        "momento del nacimiento: la puerta de entrada a la vida.",
        "Describe la constitución física, el aspecto, el temperamento de base y el modo en "
        "que el cuerpo reacciona ante la enfermedad.",
        "Su signo da el elemento dominante del cuerpo; su regente indica la fuerza vital "
        "disponible y orienta la elección del remedio de fondo.",
        "Los planetas cercanos al Ascendente marcan con fuerza la salud y el carácter.",
    ],
    11: [
        "El Medio Cielo es el grado de la eclíptica que culmina sobre el meridiano del lugar: "
        "representa la meta, la vocación y la posición en el mundo.",
        "En salud indica el gobierno consciente de los hábitos y el desgaste que produce la "
        "exigencia de la vida activa.",
        "Su signo muestra hacia dónde se dirige la voluntad; su regente, el planeta del que "
        "depende esa dirección.",
        "Los planetas cercanos al Medio Cielo se expresan de forma pública y visible.",
    ],
}

SIGN_NOTES = {
    1: ["Constitución de reacciones rápidas: enferma de golpe y se recupera pronto. Evitar el "
        "exceso de calor, de sal y de estimulantes, y dar descanso a la cabeza."],
    2: ["Constitución sólida y de buena reserva, pero lenta para eliminar. Favorecer el "
        "movimiento, las depuraciones suaves y las gárgaras de salvia para la garganta."],
    3: ["Constitución nerviosa y ligera, sensible al aire y a los cambios. Necesita respirar "
        "bien, ordenar los estímulos y calmar los nervios antes de dormir."],
    4: ["Constitución receptiva que somatiza en el estómago. Comidas tranquilas, templadas y "
        "regulares y plantas digestivas calmantes son su mejor apoyo."],
    5: ["Constitución vigorosa centrada en el corazón. Cuidar la espalda, medir los esfuerzos "
        "y sostener el corazón con plantas solares."],
    6: ["Constitución atenta, a veces aprensiva, que acusa cada error de dieta. Le favorecen "
        "la regularidad, las plantas carminativas y una alimentación sencilla."],
    7: ["Constitución que busca el equilibrio y lo pierde por exceso de dulces o por "
        "tensiones calladas. Beber bien y apoyar el riñón son la base."],
    8: ["Constitución intensa, de gran capacidad de regeneración. Favorecer la eliminación, "
        "cuidar la esfera genital y urinaria y no retener las emociones."],
    9: ["Constitución expansiva, generosa en la mesa. Le convienen las curas del hígado, el "
        "ejercicio al aire libre y la moderación en grasas y alcohol."],
    10: ["Constitución resistente y de maduración lenta, propensa a la rigidez. Calor, "
         "minerales, movimiento de las articulaciones y paciencia en las curas."],
    11: ["Constitución nerviosa y eléctrica, de circulación irregular. Activar las piernas, "
         "proteger del frío y ordenar el ritmo de vida."],
    12: ["Constitución permeable, sensible al ambiente y a las sustancias. Depurar la linfa, "
         "proteger las defensas y cuidar los pies y el descanso."],
}
