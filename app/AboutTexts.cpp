// The texts of the About window, one entry per line as they are shown.
#include "AboutTexts.h"

namespace tenaxo {

const QStringList& AboutPresentation() {
  static const QStringList lines = {
    "",
    "Ce programme est conçu pour apprendre.",
    "Personnellement je m'en sert pour améliorer mon vocabulaire en Anglais.",
    "A vous de trouvez ce que vous voulez appendre avec.",
    "",
  };
  return lines;
}

const QStringList& AboutUsage() {
  static const QStringList lines = {
    "Fonctionnement :",
    "",
    "Quand tout est paramétré, le programme pose automatiquement la ",
    "première question. Sinon pour un démarage rapide, choisisez la série ",
    "« Anglais », cliquez sur «Charger» puis sur  «Nouvelle série de ",
    "question»",
    "",
    "Un des deux panneaux est masqué, l'autre montre la partie gauche ",
    "ou droite de l'association à tenaxo.",
    "",
    "A vous de devinez ce qui est caché derrière le panneau. Quand vous ",
    "pensez connaître la réponse ou vous ne la connaissez pas, cliquez sur ",
    "le panneau masqué ou sur la fenêtre pour le révéler.",
    "La question « Réponse trouvée » apparaît alors, et vous devez choisir ",
    "« oui » ou « non ».",
    "",
    "Dans la liste, le nombre de fois où la question est demandée et le ",
    "nombre de bonne réponses sont comptés.",
    "A chaque nouvelle série de 5 questions, le ratio est calculé, puis la ",
    "liste est triée dans l'ordre croissant du ratio.",
    "Le ratio est le nombre de réponses trouvées divisé par le ",
    "nombre de fois ou la question à été posée.",
    "Si la question est posée moins de 10 fois, le ratio est divisé par 2. ",
    "",
    "Les questions sont toujours demandées parmi les 20 plus petits ",
    "ratios, ",
    "toutefois il y a une chance sur 4 qu'une question appartenant à ",
    "toute la liste soit demandée.",
    "",
    "La liste en cours est toujours sauvegardée en quittant le programme.",
  };
  return lines;
}

const QStringList& AboutInterface() {
  static const QStringList lines = {
    "Interface :",
    "",
    "Le bouton «Nouvelle série de question » remets ",
    "à zéro les compteurs de questions posées et de ",
    "réponses trouvées apparaissant dans le titre de ",
    "la fenêtre. Le ratio est recalculé.",
    "",
    "Si la case « Montrer à gauche en premier » est ",
    "cochée, alors le panneau masqué sera toujours ",
    "le panneau de droite. Il sert à tenaxo des ",
    "choses non réciproques. (Par exemple pour ",
    "retenir des dates historiques, mettez ",
    "l'évènement à gauche et la date à retenir à ",
    "droite et cochez cette case)",
    "",
    "La liste déroulante permet de choisir la liste sur ",
    "laquelle on étudie. (On peut écrire le nom d'une ",
    "nouvelle liste)",
    "Les boutons Charger, Sauver, Supprimer et « ",
    "Vide liste » concernent la liste.",
    "Le bouton « RAZ Stats » Remet à zéro les ",
    "statistiques concernant le ratio.",
    "",
    "Pour modifier une liste il faut d'abord l'afficher en ",
    "cochant la case « Voir la liste »",
    "Ensuite, vous pouvez modifiez le texte ",
    "directement dans la grille. Utilisez les touche « ",
    "Ctrl +Inser » pour créer une ligne vide. Cliquez ",
    "sur les entêtes de colonnes pour trier la liste.",
    "",
    "Pour reprendre les listes d'autres programmes ",
    "(texte, CSV, Anki, Parley, KWordQuiz), faites ",
    "glisser les fichiers sur la fenêtre ou tapez ",
    "« Ctrl+I » (Importer des listes) : chaque fichier ",
    "devient une nouvelle liste. « Ctrl+E » (Exporter ",
    "la liste) écrit la liste en cours en texte ",
    "séparé par des tabulations, ou en KVTML si le ",
    "nom finit par « .kvtml ».",
    "",
  };
  return lines;
}

}  // namespace tenaxo
