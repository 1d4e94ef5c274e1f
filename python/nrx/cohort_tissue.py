"""Tissue classes: CSF, grey and white matter likelihoods from intensities,
relaxed by sweeps of the Markov-random-field class update; and the brain's
tissue mask cleaned by morphology."""

from dataclasses import dataclass

import numpy as np

import nrx

CLASSES = ("csf", "gm", "wm")   # labels 1, 2, 3; 0 where no class is likely
SWEEPS = 4
CUBE = np.ones((3, 3, 3))


@dataclass
class Classes:
    labels: np.ndarray   # uint8 on the box: 0, or the class number
    before: np.ndarray   # the same from intensities alone


def class_means(values):
    """Three intensity centres from a few rounds of one-dimensional k-means,
    started evenly across the bulk of the intensity range (on an even
    subsample of at most 200,000 values: the centres barely move)."""
    values = values[:: max(1, len(values) // 200_000)]
    low, high = np.quantile(values, [0.01, 0.99])
    means = low + (high - low) * np.array([0.15, 0.5, 0.85])
    for _ in range(10):
        nearest = np.argmin(np.abs(values[:, None] - means), axis=1)
        means = np.array([values[nearest == c].mean() if np.any(nearest == c) else means[c] for c in range(3)])
    return means


def classify(image, search):
    """Classes of the voxels of image inside the search mask: Gaussian
    likelihoods around the class centres, turned into byte probabilities and
    relaxed in place by SWEEPS sweeps."""
    means = class_means(image[search])
    width = 0.6 * np.min(np.diff(means))
    likelihoods = np.empty(image.shape + (3,), dtype=np.float32, order="F")
    for c, mean in enumerate(means):
        likelihoods[..., c] = search * np.exp(-(image - mean) ** 2 / (2 * width ** 2))
    total = likelihoods.sum(axis=3, keepdims=True)
    p = np.asfortranarray(np.rint(255 * likelihoods / np.where(total == 0, 1, total)), dtype=np.uint8)
    before = labels_of(p)
    interaction = np.asfortranarray(2 * np.eye(3, dtype=np.float32))   # neighbours attract their own class
    for _ in range(SWEEPS):
        nrx.label_relax(p, likelihoods, interaction, inplace=True)
    return Classes(labels=labels_of(p), before=before)


def labels_of(p):
    return np.where(p.any(axis=3), np.argmax(p, axis=3) + 1, 0).astype(np.uint8)


def tissue_mask(labels):
    """(tissue, eroded): grey and white matter opened by a 3x3x3 cube, which
    cuts thin bridges to what lies outside the brain, and its erosion."""
    tissue = ((labels == 2) | (labels == 3)).astype(float)
    opened = nrx.morphology(nrx.morphology(tissue, CUBE, "erode"), CUBE, "dilate") * tissue
    return opened > 0, nrx.morphology(opened, CUBE, "erode") > 0
