// The bins of the tries' histogram: how many solved tries took each number of moves. Nothing
// here touches the page, so node tests it as it is.

// Bars enough to read a spread, few enough to stay wide.
const MOST_BINS = 20;

// Bins from the fewest moves to the most: one a count of moves, or `width` counts each when
// they spread over more than MOST_BINS. Every bin is listed, the empty ones too.
export function moveBins(moves) {
  if (moves.length === 0) return { width: 1, bins: [] };
  const low = Math.min(...moves);
  const high = Math.max(...moves);
  const width = Math.ceil((high - low + 1) / MOST_BINS);
  const bins = [];
  for (let from = low; from <= high; from += width) {
    bins.push({ from, to: from + width - 1, count: 0 });
  }
  for (const move of moves) bins[Math.floor((move - low) / width)].count += 1;
  return { width, bins };
}
