// A host page: it starts an evaluation, shows the exchange-format JSON of
// every change, restores an evaluation kept as a file, and hears « Retour ».
import '../pavonis-grille.js';

const grille = document.getElementById('grille');
const json = document.getElementById('json');
const message = document.getElementById('message');

grille.addEventListener('evaluation-modifiee', (ev) => {
  json.textContent = ev.detail.evaluation;
});
grille.addEventListener('retour', () => {
  message.textContent = `Sortie par « Retour » (W_Sortir = ${grille.W_Sortir}).`;
});

document.getElementById('charger').addEventListener('click', async () => {
  try {
    const reponse = await fetch('evaluation.json');
    grille.chargerEvaluation(await reponse.text());
    message.textContent = 'Évaluation chargée.';
  } catch (e) {
    message.textContent = e.message;
  }
});
document.getElementById('lire').addEventListener('click', () => {
  json.textContent = grille.evaluation();
});

await grille.prete;
document.getElementById('titre').textContent = grille.titre;
grille.init();
