#include "vocabulary.h"

namespace ferlin::sample {

namespace {

// One domain: its name in TDomaine, its nouns ("f:" feminine, "m:" masculine, "@year" the first
// year an article may use a recent one) and its qualifiers ("masculine/feminine", or one form
// for both), each list separated by "|".
struct DomainWords {
    const char *name;
    const char *terms;
    const char *qualifiers;
};

const DomainWords Domains[] = {
    {"Optique",
     "f:optique|f:lentille|m:miroir|m:foyer|m:prisme|f:réfraction|f:réflexion|m:dioptre|f:image|"
     "m:objet|f:lunette|m:microscope|m:télescope|f:loupe|m:œil|f:vergence|f:distance focale|"
     "m:rayon lumineux|f:lumière|m:spectre|f:dispersion|f:diffraction|f:interférence|"
     "f:polarisation|m:réseau|f:fibre optique@1970|m:laser@1962|f:couleur|f:photométrie|m:banc "
     "d'optique|"
     "m:stigmatisme|f:aberration|f:source lumineuse|m:indice de réfraction|"
     "m:appareil photographique|m:projecteur|f:ombre|m:diaphragme",
     "convergent/convergente|divergent/divergente|mince|sphérique|plan/plane|concave|convexe|"
     "géométrique|chromatique|principal/principale|virtuel/virtuelle|réel/réelle|épais/épaisse"},
    {"Mécanique",
     "f:mécanique|f:force|m:mouvement|f:vitesse|f:accélération|m:pendule|m:ressort|"
     "f:énergie cinétique|f:énergie potentielle|m:travail|f:puissance|f:quantité de mouvement|"
     "m:choc|m:frottement|f:gravitation|f:chute libre|m:projectile|f:statique|m:levier|f:poulie|"
     "m:solide|m:référentiel|f:inertie|m:moment d'inertie|m:gyroscope|f:trajectoire|"
     "m:oscillateur|f:pression|f:poussée d'Archimède|m:fluide|f:viscosité|f:balance|"
     "m:centre de gravité|m:mobile autoporteur@1965|m:plan incliné",
     "uniforme|rectiligne|circulaire|harmonique|amorti/amortie|élastique|galiléen/galiléenne|"
     "simple|pesant/pesante|accéléré/accélérée|périodique|relatif/relative"},
    {"Électricité",
     "f:électricité|m:courant électrique|f:tension|f:résistance|m:condensateur|f:bobine|"
     "m:circuit|m:générateur|f:pile|m:accumulateur|f:loi d'Ohm|m:champ électrique|"
     "m:champ magnétique|m:aimant|f:induction|m:transformateur|m:moteur électrique|"
     "m:alternateur|m:électroaimant|m:oscilloscope@1930|m:multimètre@1960|m:ampèremètre|m:"
     "voltmètre|"
     "f:charge électrique|m:potentiel|f:électrostatique|f:puissance électrique|m:dipôle|"
     "f:force électromotrice|f:impédance|m:galvanomètre|m:électromagnétisme",
     "continu/continue|alternatif/alternative|sinusoïdal/sinusoïdale|magnétique|"
     "triphasé/triphasée|en série|en dérivation|variable|induit/induite|uniforme|"
     "résistif/résistive"},
    {"Électronique",
     "f:électronique|m:transistor@1950|f:diode@1920|m:amplificateur "
     "opérationnel@1965|m:filtre@1925|"
     "m:multivibrateur@1930|f:porte "
     "logique@1960|m:compteur|m:capteur@1970|m:microcontrôleur@1980|m:redresseur@1920|"
     "m:montage|f:bascule@1960|m:signal@1925|f:modulation@1920|f:démodulation@1920|m:récepteur "
     "radio@1920|m:émetteur@1920|"
     "f:interface@1980|m:convertisseur@1970|m:ordinateur@1965|f:acquisition de "
     "données@1980|m:logiciel@1975|"
     "f:simulation@1975|m:tableur@1985|m:comparateur@1960|m:multiplexeur@1970|f:photodiode@1960|f:"
     "thermistance@1950",
     "numérique|analogique|logique|passe-bas|passe-haut|intégré/intégrée|programmable|"
     "actif/active|passif/passive|assisté par ordinateur/assistée par ordinateur|"
     "électronique|modulé/modulée"},
    {"Ondes et acoustique",
     "f:onde|m:son|f:acoustique|f:fréquence|f:longueur d'onde|f:période|f:amplitude|"
     "f:célérité|f:corde vibrante|m:tuyau sonore|f:résonance|m:battement|m:effet Doppler|"
     "m:ultrason@1920|m:haut-parleur@1925|m:microphone|f:cuve à ondes@1960|f:onde stationnaire|"
     "f:propagation|m:diapason|m:harmonique|m:timbre|f:hauteur|f:intensité sonore|m:écho|"
     "m:sonar@1940|f:vibration|m:stroboscope|f:houle",
     "sonore|mécanique|progressif/progressive|stationnaire|longitudinal/longitudinale|"
     "transversal/transversale|sinusoïdal/sinusoïdale|périodique|amorti/amortie|acoustique|"
     "électromagnétique|plan/plane|circulaire"},
    {"Thermodynamique",
     "f:thermodynamique|f:chaleur|f:température|m:thermomètre|f:calorimétrie|"
     "f:capacité thermique|m:changement d'état|f:fusion|f:vaporisation|f:dilatation|"
     "m:gaz parfait|f:entropie|m:premier principe|m:second principe|f:machine thermique|"
     "m:moteur thermique|m:réfrigérateur|f:pompe à chaleur|m:cycle de Carnot|m:rendement|"
     "f:conduction|f:convection|m:rayonnement|m:corps noir|f:diffusion|f:pression de vapeur|"
     "m:équilibre thermique|f:énergie interne|f:enthalpie|m:thermostat",
     "thermique|isotherme|adiabatique|réversible|irréversible|isobare|idéal/idéale|solaire|"
     "latent/latente|massique|thermodynamique"},
    {"Chimie générale",
     "f:chimie|m:atome|f:molécule|m:ion|m:élément|f:classification périodique|f:mole|"
     "f:concentration|f:solution|m:solvant|f:réaction chimique|m:équilibre chimique|"
     "f:cinétique|m:catalyseur|m:acide|f:base|m:pH@1909|m:dosage|m:titrage|f:oxydoréduction|"
     "f:pile électrochimique|f:électrolyse|f:corrosion|m:précipité|f:solubilité|"
     "m:indicateur coloré|f:liaison chimique|m:cristal|m:métal|m:gaz|f:stœchiométrie|"
     "m:conductimètre@1950|f:conductivité|m:pH-mètre@1936|f:spectrophotométrie@1950|m:sel",
     "chimique|basique|aqueux/aqueuse|ionique|covalent/covalente|fort/forte|faible|"
     "concentré/concentrée|dilué/diluée|saturé/saturée|métallique|minéral/minérale"},
    {"Chimie organique",
     "f:chimie organique|m:alcane|m:alcène|m:alcool|m:aldéhyde|f:cétone|m:acide carboxylique|"
     "m:ester|f:amine|m:amide|m:polymère@1930|f:estérification|f:saponification|m:savon|"
     "m:détergent@1950|f:chromatographie@1950|f:distillation|f:extraction|f:recristallisation|m:"
     "arôme|"
     "m:parfum|m:colorant|m:médicament|m:sucre|f:protéine|m:pétrole|m:hydrocarbure|"
     "m:benzène|f:isomérie|f:synthèse|m:groupe caractéristique|m:modèle moléculaire|"
     "f:matière plastique@1930|m:carbone",
     "organique|aromatique|naturel/naturelle|synthétique|industriel/industrielle|éthylénique|"
     "cyclique|chiral/chirale|volatil/volatile|linéaire|ramifié/ramifiée"},
    {"Astronomie",
     "f:astronomie|m:soleil|f:lune|m:système solaire|f:planète|f:étoile|f:galaxie|f:comète|"
     "m:satellite|f:éclipse|f:phase de la Lune|m:cadran solaire|f:attraction universelle|"
     "f:loi de Kepler|f:mécanique céleste|m:spectre stellaire|f:cosmologie|m:big bang@1950|"
     "f:astrophysique|m:planétarium@1925|f:fusée@1930|f:orbite|f:marée|f:saison|m:calendrier|"
     "f:parallaxe|f:année-lumière|m:radiotélescope@1950|m:méridien|f:nébuleuse|m:trou noir@1968",
     "solaire|lunaire|stellaire|céleste|géostationnaire|artificiel/artificielle|elliptique|"
     "circulaire|astronomique|total/totale|apparent/apparente|annuel/annuelle"},
    {"Physique moderne",
     "f:radioactivité|m:noyau "
     "atomique|m:électron|m:photon|m:neutron@1932|m:proton|f:relativité@1910|"
     "f:mécanique quantique@1927|m:effet photoélectrique|m:spectre atomique|m:niveau d'énergie|"
     "f:fission@1939|f:fusion nucléaire@1950|f:dualité "
     "onde-corpuscule@1925|f:désintégration|f:demi-vie|"
     "f:datation@1950|m:compteur Geiger@1928|f:chambre à brouillard@1912|m:rayon X|"
     "m:accélérateur de "
     "particules@1935|f:supraconductivité@1912|m:semi-conducteur@1950|f:particule|"
     "f:réaction nucléaire|f:physique nucléaire|f:dosimétrie@1950|m:modèle de Bohr@1913|"
     "f:constante de Planck",
     "nucléaire|quantique|atomique|relativiste|radioactif/radioactive|naturel/naturelle|"
     "artificiel/artificielle|ionisant/ionisante|cosmique|restreint/restreinte|"
     "élémentaire|excité/excitée"},
    {"Histoire des sciences",
     "f:histoire des sciences|m:savant|f:biographie|m:instrument ancien|f:découverte|"
     "f:expérience historique|f:controverse|f:académie|m:laboratoire|f:invention|"
     "m:manuscrit|m:musée|f:machine électrostatique|m:baromètre|f:unité de mesure|"
     "m:système métrique|f:révolution scientifique|f:épistémologie|f:philosophie des sciences|"
     "m:traité|m:cabinet de physique|m:centenaire|f:vulgarisation",
     "ancien/ancienne|historique|scientifique|moderne|français/française|célèbre|"
     "industriel/industrielle|médiéval/médiévale|oublié/oubliée|européen/européenne"},
    {"Didactique",
     "f:didactique|m:programme|f:classe de seconde|f:classe de première|"
     "f:classe de terminale|m:travaux pratiques|m:baccalauréat|f:évaluation|m:exercice|"
     "m:problème|f:démarche expérimentale|f:modélisation|f:mesure|f:incertitude|f:unité|"
     "f:représentation|f:conception des élèves|m:manuel scolaire|f:formation des maîtres|"
     "m:concours|m:sujet d'examen|f:séance de cours|f:expérience de cours|"
     "m:matériel de laboratoire|f:sécurité|m:rétroprojecteur@1970|f:informatique pédagogique@1975|"
     "m:projet|m:club scientifique@1960|f:leçon",
     "pédagogique|expérimental/expérimentale|écrit/écrite|oral/orale|national/nationale|"
     "interdisciplinaire|scolaire|nouveau/nouvelle|commenté/commentée|corrigé/corrigée|"
     "individuel/individuelle|collectif/collective"},
};

const char *const PointsOfView =
    "expérimental|théorique|historique|pédagogique|technologique|documentaire|"
    "épistémologique|informatique";

const char *const Levels = "primaire|collège|lycée|postbac";

const char *const Surnames =
    "Martin|Bernard|Dubois|Thomas|Robert|Richard|Petit|Durand|Leroy|Moreau|Simon|Laurent|"
    "Lefebvre|Michel|Garcia|David|Bertrand|Roux|Vincent|Fournier|Morel|Girard|André|Mercier|"
    "Dupont|Lambert|Bonnet|François|Martinez|Legrand|Garnier|Faure|Rousseau|Blanc|Guérin|"
    "Muller|Henry|Roussel|Nicolas|Perrin|Morin|Mathieu|Clément|Gauthier|Dumont|Lopez|"
    "Fontaine|Chevalier|Robin|Masson|Sanchez|Gérard|Nguyen|Boyer|Denis|Lemaire|Duval|Joly|"
    "Gautier|Roger|Roche|Roy|Noël|Meyer|Lucas|Meunier|Jean|Pérez|Marchand|Dufour|Blanchard|"
    "Marie|Barbier|Brun|Dumas|Brunet|Schmitt|Leroux|Colin|Fernandez|Pierre|Renard|Arnaud|"
    "Rolland|Caron|Aubert|Giraud|Leclerc|Vidal|Bourgeois|Renaud|Lemoine|Picard|Gaillard|"
    "Philippe|Leclercq|Lacroix|Fabre|Dupuis|Olivier|Rodriguez|Da Silva|Hubert|Louis|Charles|"
    "Guillot|Rivière|Le Gall|Guillaume|Adam|Rey|Moulin|Gonzalez|Berger|Lecomte|Ménard|Fleury|"
    "Deschamps|Carpentier|Julien|Benoît|Paris|Maillard|Marchal|Aubry|Vasseur|Le Roux|Renault|"
    "Jacquet|Collet|Prévost|Poirier|Charpentier|Royer|Huet|Baron|Dupuy|Pons|Paul|Lainé|Carré|"
    "Breton|Rémy|Schneider|Perrot|Guyot|Barre|Marty|Cousin|L'Hôpital|L'Huillier|D'Amico|"
    "D'Arcy|Saint-Martin|Le Goff|Lefèvre|Delacroix|Besnard|Tessier|Chauvin|Boucher|Mallet";

const char *const FirstNames =
    "Jean|Pierre|Michel|André|Philippe|Alain|Jacques|Bernard|Claude|Daniel|Christian|Gérard|"
    "Patrick|Marcel|Louis|René|Paul|Henri|Georges|Roger|Robert|François|Yves|Marc|Hélène|Marie|"
    "Anne|Jeanne|Françoise|Monique|Catherine|Nicole|Sylvie|Isabelle|Martine|Christine|"
    "Brigitte|Odile|Geneviève|Élisabeth|Thérèse|Danielle|Jean-Pierre|Jean-Claude|Jean-Louis|"
    "Jean-Marie|Marie-Claire|Anne-Marie|Marie-Thérèse|Jean-François|Pierre-Yves|Émile|Édouard|"
    "Lucien|Gaston|Albert|Raymond|Maurice|Joël|Hervé|Éric|Laurent|Olivier|Dominique|"
    "Christophe|Agnès|Béatrice|Suzanne|Colette|Régis";

const char *const SeeAlso =
    "lunette voir lentille|réflexion voir aussi miroir|loupe voir aussi lentille|"
    "rétroviseur voir miroir|arc-en-ciel voir dispersion|verre voir aussi indice de réfraction|"
    "focale voir distance focale|ampoule voir aussi source lumineuse|lentille voir aussi foyer|"
    "poids voir aussi gravitation|balancier voir pendule|rotation voir aussi mouvement|"
    "intensité voir courant électrique|pile voir aussi oxydoréduction|dynamo voir alternateur|"
    "boussole voir aussi aimant|radio voir aussi modulation|puce voir aussi transistor|"
    "calculatrice voir aussi ordinateur|bruit voir son|musique voir aussi son|"
    "glace voir aussi fusion|vapeur voir aussi vaporisation|moteur voir aussi moteur thermique|"
    "frigidaire voir réfrigérateur|acidité voir pH|lessive voir aussi détergent|"
    "plastique voir matière plastique|essence voir aussi pétrole|soleil voir aussi étoile|"
    "marées voir marée|rayons gamma voir aussi radioactivité|bombe atomique voir fission|"
    "quanta voir aussi mécanique quantique|Einstein voir aussi relativité|"
    "Newton voir aussi gravitation|Ampère voir aussi électromagnétisme|"
    "Lavoisier voir aussi réaction chimique|TP voir travaux pratiques|bac voir baccalauréat|"
    "examen voir aussi sujet d'examen|erreur voir incertitude|onde voir aussi propagation|"
    "chronophotographie voir aussi stroboscope|tube cathodique voir aussi oscilloscope|"
    "vitamine voir aussi médicament";

const char *const Classes = "sixième|cinquième|quatrième|troisième|seconde|première|terminale";

const char *const Titles =
    "{le1} et {le2}|À propos {de1}|Une expérience simple sur {le1}|"
    "{le1} : mesure et modélisation|Étude expérimentale {de1}|"
    "Quelques remarques sur {le1} (suite)|{w1}. Notes de travaux pratiques|"
    "Comment introduire {le1} en classe de {cls} ?|Retour sur {le1} et {le2}|"
    "Un montage pour l'étude {de1}|Le point sur {le1}, {le2} et {le3}|{de1} {a2}|"
    "{le1} (exercice commenté)|Sur une propriété {de1}|Histoire {de1}|"
    "Mesure {de1} par une méthode simple|Une activité sur {le1} au collège|"
    "{le1}, {le2}. Un exemple en classe|L'enseignement {de1} au lycée|"
    "Réflexions sur {le1} et sur {le2}|Peut-on mesurer {le1} en classe ?|{w1} et {w2}|"
    "Étude {de1} à l'aide {de2}|Un modèle simple {de1}|Expériences sur {le1} (deuxième partie)|"
    "{w1}, {w2}, {w3}. Trois expériences";

const char *const Subtitles =
    "Première partie|Deuxième partie|Troisième partie|Compte rendu de travaux pratiques|"
    "Réponse à un lecteur|Note de lecture|Suite de l'article du n° {num}|"
    "Une séance en classe de {cls}|Avec {un1} et {un2}|Un exemple : {le1}|"
    "Fiche d'expérience|Courrier des lecteurs|Questions de baccalauréat";

const char *const Sentences =
    "L'auteur propose une étude {de1} adaptée à la classe de {cls}.|"
    "On montre comment mesurer {le1} avec un matériel simple ({w2}, règle graduée, "
    "chronomètre).|"
    "Après un rappel historique sur {le1}, l'article décrit une série d'expériences.|"
    "Les résultats sont comparés à la théorie ({w1} et {w2}).|"
    "Le rôle {de1} est discuté, ainsi que celui {de2}.|"
    "Cet article fait suite à celui du n° {num}.|"
    "Plusieurs exercices sont proposés, avec leurs solutions.|"
    "L'étude {de1} conduit naturellement à celle {de2}.|"
    "Un logiciel de simulation permet de visualiser {le1} et {le2}.|"
    "Les difficultés des élèves face {a1} sont analysées.|"
    "Une bibliographie complète l'article.|"
    "On y trouve les notions {de1}, {de2} et {de3}.|"
    "Le montage utilise {un1} et {un2} (voir la figure 3).|"
    "La notion {de1} est introduite sans calcul, puis précisée.|"
    "Les mesures ({w1}, {w2}) sont faites par les élèves eux-mêmes.";

const char *const BodySentences =
    "Cette partie revient sur {le1} et sur la manière de l'introduire en classe de {cls}.|"
    "Les élèves commencent par observer {le1} sans aucun instrument de mesure.|"
    "On mesure ensuite {le1} à l'aide {de2}, puis on compare les valeurs obtenues.|"
    "Le tableau 1 rassemble les mesures faites par les élèves sur {le1}.|"
    "La précision des mesures dépend surtout {de2}.|"
    "Un rappel sur {le1} permet de fixer le vocabulaire.|"
    "Il faut se garder de confondre {le1} et {le2}.|"
    "La figure 2 montre le montage : {un1}, {un2} et une règle graduée.|"
    "Le professeur fait d'abord le lien entre {le1} et {le3}.|"
    "Les résultats obtenus en classe sont proches de ceux que prévoit la théorie.|"
    "L'expérience tient en une séance de deux heures, mesures comprises.|"
    "Une erreur fréquente consiste à négliger le rôle {de2}.|"
    "On peut prolonger l'étude {de1} par un travail personnel des élèves.|"
    "Les questions posées par les élèves portent souvent sur {le2}.|"
    "Le calcul reste simple : une règle de trois suffit le plus souvent.|"
    "Cette approche avait déjà été proposée dans le bulletin n° {num}.|"
    "Nous remercions les collègues qui ont essayé cette activité dans leurs classes.|"
    "On retrouve ainsi la relation qui lie {le1} {a2}.|"
    "Pour finir, on discute les limites du modèle {de1}.|"
    "Le compte rendu des élèves doit comporter un schéma soigné {de1}.|"
    "Il est utile de montrer {le1} avant d'écrire la moindre formule.|"
    "Dans une seconde expérience, on remplace {le2} par {un3}.|"
    "L'intérêt pédagogique {de1} tient d'abord à sa simplicité.|"
    "Les valeurs mesurées s'écartent de moins de cinq pour cent des valeurs attendues.|"
    "Quelques élèves ont proposé d'étudier aussi {le3}, ce qui fera l'objet d'une suite.|"
    "Ce travail montre qu'on peut aborder {le1} dès la classe de {cls}.|"
    "La discussion qui suit l'expérience est souvent le moment le plus riche de la séance.|"
    "On veillera à la sécurité des élèves pendant toutes les manipulations.|"
    "Ces remarques valent aussi pour l'étude {de2} et {de3}.|"
    "Le matériel nécessaire se trouve dans tous les laboratoires de lycée.|"
    "Une même mesure répétée dix fois donne une idée honnête de l'incertitude.|"
    "Le graphique obtenu est une droite, ce qui surprend toujours les élèves.";

const char *const Sections =
    "Introduction|Rappels|Le montage|Les mesures|Exploitation des résultats|En classe|"
    "Prolongements|Discussion";

QStringList split(const char *list)
{
    return QString::fromUtf8(list).split(u'|');
}

Vocabulary build()
{
    Vocabulary v;
    int domain = 0;
    for (const DomainWords &words : Domains) {
        v.domains << QString::fromUtf8(words.name);
        for (const QString &entry : split(words.terms)) {
            const QStringList parts = entry.mid(2).split(u'@');
            v.terms.push_back({parts.first(), entry.startsWith(u'f'), domain,
                               parts.size() > 1 ? parts.last().toInt() : 0});
        }
        std::vector<Qualifier> qualifiers;
        for (const QString &entry : split(words.qualifiers)) {
            const QStringList forms = entry.split(u'/');
            qualifiers.push_back({forms.first(), forms.last()});
        }
        v.qualifiers.push_back(std::move(qualifiers));
        ++domain;
    }
    v.pointsOfView = split(PointsOfView);
    v.levels = split(Levels);
    v.surnames = split(Surnames);
    v.firstNames = split(FirstNames);
    v.seeAlso = split(SeeAlso);
    v.classes = split(Classes);
    v.titles = split(Titles);
    v.subtitles = split(Subtitles);
    v.sentences = split(Sentences);
    v.bodySentences = split(BodySentences);
    v.sections = split(Sections);
    return v;
}

} // namespace

const Vocabulary &vocabulary()
{
    static const Vocabulary v = build();
    return v;
}

} // namespace ferlin::sample
