// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the About window, one entry per line as they are shown.
#include "AboutTexts.h"

namespace tenaxo {

const QStringList& AboutPresentation() {
  static const QStringList lines = {
      QStringLiteral(""),
      QStringLiteral("Ce programme est conçu pour apprendre."),
      QStringLiteral("Personnellement je m'en sert pour améliorer mon vocabulaire en Anglais."),
      QStringLiteral("A vous de trouvez ce que vous voulez appendre avec."),
      QStringLiteral(""),
  };
  return lines;
}

const QStringList& AboutUsage() {
  static const QStringList lines = {
      QStringLiteral("Fonctionnement :"),
      QStringLiteral(""),
      QStringLiteral("Quand tout est paramétré, le programme pose automatiquement la "),
      QStringLiteral("première question. Sinon pour un démarage rapide, choisisez la série "),
      QStringLiteral("« Anglais », cliquez sur «Charger» puis sur  «Nouvelle série de "),
      QStringLiteral("question»"),
      QStringLiteral(""),
      QStringLiteral("Un des deux panneaux est masqué, l'autre montre la partie gauche "),
      QStringLiteral("ou droite de l'association à tenaxo."),
      QStringLiteral(""),
      QStringLiteral("A vous de devinez ce qui est caché derrière le panneau. Quand vous "),
      QStringLiteral("pensez connaître la réponse ou vous ne la connaissez pas, cliquez sur "),
      QStringLiteral("le panneau masqué ou sur la fenêtre pour le révéler."),
      QStringLiteral("La question « Réponse trouvée » apparaît alors, et vous devez choisir "),
      QStringLiteral("« oui » ou « non »."),
      QStringLiteral(""),
      QStringLiteral("Dans la liste, le nombre de fois où la question est demandée et le "),
      QStringLiteral("nombre de bonne réponses sont comptés."),
      QStringLiteral("A chaque nouvelle série de 5 questions, le ratio est calculé, puis la "),
      QStringLiteral("liste est triée dans l'ordre croissant du ratio."),
      QStringLiteral("Le ratio est le nombre de réponses trouvées divisé par le "),
      QStringLiteral("nombre de fois ou la question à été posée."),
      QStringLiteral("Si la question est posée moins de 10 fois, le ratio est divisé par 2. "),
      QStringLiteral(""),
      QStringLiteral("Les questions sont toujours demandées parmi les 20 plus petits "),
      QStringLiteral("ratios, "),
      QStringLiteral("toutefois il y a une chance sur 4 qu'une question appartenant à "),
      QStringLiteral("toute la liste soit demandée."),
      QStringLiteral(""),
      QStringLiteral("La liste en cours est toujours sauvegardée en quittant le programme."),
  };
  return lines;
}

const QStringList& AboutInterface() {
  static const QStringList lines = {
      QStringLiteral("Interface :"),
      QStringLiteral(""),
      QStringLiteral("Le bouton «Nouvelle série de question » remets "),
      QStringLiteral("à zéro les compteurs de questions posées et de "),
      QStringLiteral("réponses trouvées apparaissant dans le titre de "),
      QStringLiteral("la fenêtre. Le ratio est recalculé."),
      QStringLiteral(""),
      QStringLiteral("Si la case « Montrer à gauche en premier » est "),
      QStringLiteral("cochée, alors le panneau masqué sera toujours "),
      QStringLiteral("le panneau de droite. Il sert à tenaxo des "),
      QStringLiteral("choses non réciproques. (Par exemple pour "),
      QStringLiteral("retenir des dates historiques, mettez "),
      QStringLiteral("l'évènement à gauche et la date à retenir à "),
      QStringLiteral("droite et cochez cette case)"),
      QStringLiteral(""),
      QStringLiteral("La liste déroulante permet de choisir la liste sur "),
      QStringLiteral("laquelle on étudie. (On peut écrire le nom d'une "),
      QStringLiteral("nouvelle liste)"),
      QStringLiteral("Les boutons Charger, Sauver, Supprimer et « "),
      QStringLiteral("Vide liste » concernent la liste."),
      QStringLiteral("Le bouton « RAZ Stats » Remet à zéro les "),
      QStringLiteral("statistiques concernant le ratio."),
      QStringLiteral(""),
      QStringLiteral("Pour modifier une liste il faut d'abord l'afficher en "),
      QStringLiteral("cochant la case « Voir la liste »"),
      QStringLiteral("Ensuite, vous pouvez modifiez le texte "),
      QStringLiteral("directement dans la grille. Utilisez les touche « "),
      QStringLiteral("Ctrl +Inser » pour créer une ligne vide. Cliquez "),
      QStringLiteral("sur les entêtes de colonnes pour trier la liste."),
      QStringLiteral(""),
      QStringLiteral("Pour reprendre les listes d'autres programmes "),
      QStringLiteral("(texte, CSV, Anki, Parley, KWordQuiz), faites "),
      QStringLiteral("glisser les fichiers sur la fenêtre ou tapez "),
      QStringLiteral("« Ctrl+I » (Importer des listes) : chaque fichier "),
      QStringLiteral("devient une nouvelle liste. « Ctrl+E » (Exporter "),
      QStringLiteral("la liste) écrit la liste en cours en texte "),
      QStringLiteral("séparé par des tabulations, en KVTML si le nom "),
      QStringLiteral("finit par « .kvtml », en paires seules (Gauche, "),
      QStringLiteral("Droite) s'il finit par « .tsv »."),
      QStringLiteral(""),
  };
  return lines;
}

}  // namespace tenaxo
